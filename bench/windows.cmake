# The Windows side of the benchmarks: the bare program the whole-run
# benchmark (scripts/bench wine) sets beside the screensaver.
add_executable(bare_quad WIN32 ${CMAKE_SOURCE_DIR}/bench/bare_quad.cpp)
target_link_libraries(bare_quad PRIVATE quillmere_core glu32 opengl32 ${QM_STATIC_LINK})
set_target_properties(bare_quad PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
