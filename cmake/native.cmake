# Native (Linux) build of the code that needs nothing of Win32: unit tests
# under AddressSanitizer and UndefinedBehaviorSanitizer, and benchmarks.
set(QM_SANITIZE -fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=all -fno-omit-frame-pointer)

# Sanitized copy for the tests.
add_library(quillmere_pure_san STATIC ${QM_PURE_SOURCES})
target_include_directories(quillmere_pure_san PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(quillmere_pure_san PUBLIC ${QM_SANITIZE})
target_link_options(quillmere_pure_san PUBLIC ${QM_SANITIZE})

# Optimised copy for benchmarks: generic x86-64 (SSE2), as the .scr ships.
add_library(quillmere_pure STATIC ${QM_PURE_SOURCES})
target_include_directories(quillmere_pure PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(quillmere_pure PRIVATE -O2)

add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
add_subdirectory(tests/native)
add_subdirectory(bench)
