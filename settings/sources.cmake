set(SETTINGS_PURE_SOURCES
  settings/number_text.cpp
)
set(SETTINGS_WIN_SOURCES
  settings/reg_settings.cpp
  settings/catalogue.cpp
)
