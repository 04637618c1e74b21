// The process-wide objects the library expects: the test program's own log, settings store and scene.
#include "scene/water_saver.h"
#include "settings/reg_settings.h"
#include "shell/run_log.h"
#include "ui/hyper_link.h"

hyper_link_class app_link_class;
static run_log app_log("windows_tests.log");
reg_settings app_settings("Software\\Tovarind\\QuillmereTest");
water_saver app_scene;
