set(SCENE_PURE_SOURCES
)
set(SCENE_WIN_SOURCES
  scene/scene_hooks.cpp
  scene/water_saver.cpp
)
