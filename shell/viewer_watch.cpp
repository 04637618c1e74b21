#include "shell/viewer_watch.h"

#include "shell/system_library.h"

#include <versionhelpers.h>

#include <cstring>

namespace {

// GUID_CONSOLE_DISPLAY_STATE (Windows 8 on): 0 off, 1 on, 2 dimmed.
constexpr GUID display_state_guid = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
// GUID_MONITOR_POWER_ON, what Windows 7 has instead: 0 off, 1 on.
constexpr GUID monitor_power_guid = {0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}};
constexpr WPARAM session_lock = 7, session_unlock = 8; // WTS_SESSION_LOCK, WTS_SESSION_UNLOCK

// wtsapi32 is no KnownDLL: taken from System32 alone, at run time.
template <typename call>
call session_call(const char* name)
{
    static HMODULE library = load_system_library(L"wtsapi32.dll");
    return library ? reinterpret_cast<call>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
}

} // namespace

void viewer_watch::start(HWND window)
{
    stop();
    window_ = window;
    displays_ = RegisterPowerSettingNotification(window, IsWindows8OrGreater() ? &display_state_guid : &monitor_power_guid,
                                                 DEVICE_NOTIFY_WINDOW_HANDLE);
    using register_call = BOOL(WINAPI*)(HWND, DWORD);
    if (const auto register_session = session_call<register_call>("WTSRegisterSessionNotification"))
        session_ = register_session(window, 0) != FALSE; // NOTIFY_FOR_THIS_SESSION
}

void viewer_watch::stop()
{
    if (displays_)
        UnregisterPowerSettingNotification(displays_);
    using unregister_call = BOOL(WINAPI*)(HWND);
    if (session_)
        if (const auto unregister_session = session_call<unregister_call>("WTSUnRegisterSessionNotification"))
            unregister_session(window_);
    displays_ = nullptr;
    session_ = false;
    displays_on_ = true;
    locked_ = false;
}

bool viewer_watch::follow(UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_WTSSESSION_CHANGE && (wparam == session_lock || wparam == session_unlock)) {
        locked_ = wparam == session_lock;
        return true;
    }
    if (message != WM_POWERBROADCAST || wparam != PBT_POWERSETTINGCHANGE)
        return false;
    const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(lparam);
    DWORD state = 0;
    if (!setting || setting->DataLength < sizeof state ||
        (setting->PowerSetting != display_state_guid && setting->PowerSetting != monitor_power_guid))
        return false;
    std::memcpy(&state, setting->Data, sizeof state);
    // A dimmed display still shows the water.
    displays_on_ = state != 0;
    return true;
}
