// The process-wide objects, defined in one place so that they come into
// being in this order and go away in the reverse order: the log exists
// before the store and the scene, which may write warnings while they are
// constructed, and its closing line is written after both are gone.
#include "scene/water_saver.h"
#include "settings/reg_settings.h"
#include "shell/log_place.h"
#include "shell/run_log.h"
#include "ui/hyper_link.h"

hyper_link_class app_link_class;
static run_log app_log("screen.log", open_user_log);
reg_settings app_settings("Software\\Tovarind\\Quillmere");
water_saver app_scene;
