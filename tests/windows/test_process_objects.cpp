// The process-wide objects the library expects, for the test program: a log,
// a settings store and a scene of the tests' own.
#include "scene/water_saver.h"
#include "settings/reg_settings.h"
#include "shell/run_log.h"
#include "ui/hyper_link.h"

hyper_link_class app_link_class;
static run_log app_log("windows_tests.log");
reg_settings app_settings("Software\\Tovarind\\QuillmereTest");
water_saver app_scene;
