// The process-wide objects, defined in one place so that they come into
// being in this order and go away in the reverse order: the log exists
// before the store and the scene, which may write warnings while they are
// constructed, and its closing line is written after both are gone.
#include <windows.h>

#include "scene/water_saver.h"
#include "settings/reg_settings.h"
#include "shell/log_place.h"
#include "shell/run_log.h"
#include "shell/system_library.h"
#include "ui/hyper_link.h"

// Before anything else runs: every DLL loaded later by name, by us or by
// the system on our behalf, comes from System32 and never from the .scr's
// own folder (a Downloads folder with planted DLLs) or the working
// directory, wherever the system can do so.
struct system_dlls_only {
    system_dlls_only() { limit_dll_search(); }
};
__attribute__((init_priority(101))) static system_dlls_only dll_search;

hyper_link_class app_link_class;
static run_log app_log("screen.log", open_user_log);
reg_settings app_settings("Software\\Tovarind\\Quillmere");
water_saver app_scene;
