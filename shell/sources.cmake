set(SHELL_PURE_SOURCES
  shell/command_line.cpp
  shell/monitor_layout.cpp
  shell/run_log.cpp
)
set(SHELL_WIN_SOURCES
  shell/entry.cpp
  shell/fatal_error.cpp
  shell/monitors.cpp
  shell/render_window.cpp
  shell/shell_state.cpp
  shell/window_cycle.cpp
)
# Only in the .scr: the entry point and the process-wide objects.
set(SHELL_APP_SOURCES
  shell/main.cpp
  shell/process_objects.cpp
)
