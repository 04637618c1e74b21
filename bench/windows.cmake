# The Windows side of the benchmarks: the bare program the whole-run
# benchmark (scripts/bench wine) sets beside the screensaver.
add_executable(bare_quad WIN32 ${CMAKE_SOURCE_DIR}/bench/bare_quad.cpp)
target_link_libraries(bare_quad PRIVATE quillmere_core glu32 opengl32 ${QM_STATIC_LINK})
set_target_properties(bare_quad PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)

# The settings dialog's pane timed as a small view, offscreen and on a bitmap,
# beside a bare quad drawn the same way (scripts/bench small).
add_executable(small_view_bench ${CMAKE_SOURCE_DIR}/bench/small_view_bench.cpp ${CMAKE_SOURCE_DIR}/res/config_dialog.rc)
target_link_libraries(small_view_bench PRIVATE quillmere_core ${QM_STATIC_LINK})
set_target_properties(small_view_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
