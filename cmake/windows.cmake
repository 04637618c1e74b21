# The screensaver itself and its tests under Wine.
enable_language(RC)

# The same commit gives the same .scr byte for byte, wherever and whenever it
# is built: no build paths in what is compiled, no time stamp in the PE
# header; the .scr itself is stripped below (the tests keep their debug
# information).
add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=.)
add_link_options(-Wl,--no-insert-timestamp)

# Everything is linked statically so the .scr runs with nothing beside it.
set(QM_STATIC_LINK -static -static-libgcc -static-libstdc++)
# Only KnownDLLs are imported: opengl32 is loaded at run time from System32.
set(QM_WIN_LIBS gdi32 user32 advapi32 shell32)

add_library(quillmere_core STATIC ${QM_PURE_SOURCES} ${QM_WIN_SOURCES})
target_include_directories(quillmere_core PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_definitions(quillmere_core PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
target_link_libraries(quillmere_core PUBLIC ${QM_WIN_LIBS})

# The project version, the publisher and the names in the version resource and the manifest; the
# installer and the winget manifest read them from the generated header too.
set(QM_PUBLISHER Tovarind)
set(QM_PRODUCT Quillmere)
set(QM_DISPLAY_NAME "Quillmere screensaver")
set(QM_VERSION_QUAD ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0)
configure_file(res/quillmere_version.h.in ${CMAKE_BINARY_DIR}/res/quillmere_version.h @ONLY)
configure_file(res/quillmere.manifest.in ${CMAKE_BINARY_DIR}/res/quillmere.manifest @ONLY)

add_executable(quillmere WIN32 ${SHELL_APP_SOURCES} res/quillmere.rc)
# windres does not report the files the script pulls in.
file(GLOB QM_LANGUAGE_SCRIPTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/languages/*.rc)
set_source_files_properties(res/quillmere.rc PROPERTIES
  INCLUDE_DIRECTORIES ${CMAKE_BINARY_DIR}/res
  OBJECT_DEPENDS "${CMAKE_BINARY_DIR}/res/quillmere_version.h;${CMAKE_BINARY_DIR}/res/quillmere.manifest;${CMAKE_SOURCE_DIR}/res/quillmere.ico;${CMAKE_SOURCE_DIR}/res/config_dialog.rc;${CMAKE_SOURCE_DIR}/res/languages.rc;${QM_LANGUAGE_SCRIPTS}")
target_link_libraries(quillmere PRIVATE quillmere_core ${QM_STATIC_LINK})
# Shipped without symbols or debug information.
target_link_options(quillmere PRIVATE -s)
set_target_properties(quillmere PROPERTIES SUFFIX ".scr"
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# Wine runs the test programs; each run gets a private X display.
set(QM_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Wine prefix for the tests")
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tests/harness/wine_exec --prefix ${QM_WINEPREFIX})

set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
add_subdirectory(tests/windows)
add_subdirectory(tests/e2e)
add_subdirectory(tests/package)
include(bench/windows.cmake)
