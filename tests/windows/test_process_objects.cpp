// The process-wide objects the library expects, for the test program: a log
// and a settings store of the tests' own.
#include "settings/reg_settings.h"
#include "shell/run_log.h"
#include "ui/hyper_link.h"

hyper_link_class app_link_class;
static run_log app_log("windows_tests.log");
reg_settings app_settings("Software\\Tovarind\\QuillmereTest");
