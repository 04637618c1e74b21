set(UI_WIN_SOURCES
  ui/config_dialog.cpp
  ui/dialog_base.cpp
  ui/hyper_link.cpp
  ui/water_pane.cpp
)
