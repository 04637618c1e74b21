#include "shell/monitor_refresh.h"

#include "shell/frame_pacing.h"
#include "shell/system_library.h"

#include <dwmapi.h>

#include <cstring>
#include <vector>

namespace {

// The compositor's refresh as a fraction, from dwmapi loaded at run time
// (it is no KnownDLL); 0/0 where there is none.
void compositor_refresh(unsigned& numerator, unsigned& denominator)
{
    static HMODULE dwm = load_system_library(L"dwmapi.dll");
    using timing_call = HRESULT(WINAPI*)(HWND, DWM_TIMING_INFO*);
    const auto timing = dwm ? reinterpret_cast<timing_call>(reinterpret_cast<void*>(
                                  GetProcAddress(dwm, "DwmGetCompositionTimingInfo")))
                            : nullptr;
    DWM_TIMING_INFO info = {};
    info.cbSize = sizeof info;
    if (timing && SUCCEEDED(timing(nullptr, &info)))
        numerator = info.rateRefresh.uiNumerator, denominator = info.rateRefresh.uiDenominator;
}

// The exact refresh of the display `device` ("\\.\DISPLAY2") drives, from the
// display configuration; 0/0 where it says none.
void configured_refresh(const char* device, unsigned& numerator, unsigned& denominator)
{
    UINT32 path_count = 0, mode_count = 0;
    if (GetDisplayConfigBufferSizes(QDC_ONLY_ACTIVE_PATHS, &path_count, &mode_count) != ERROR_SUCCESS)
        return;
    std::vector<DISPLAYCONFIG_PATH_INFO> paths(path_count);
    std::vector<DISPLAYCONFIG_MODE_INFO> modes(mode_count);
    if (QueryDisplayConfig(QDC_ONLY_ACTIVE_PATHS, &path_count, paths.data(), &mode_count, modes.data(), nullptr) !=
        ERROR_SUCCESS)
        return;
    for (UINT32 i = 0; i < path_count; ++i) {
        DISPLAYCONFIG_SOURCE_DEVICE_NAME source = {};
        source.header.type = DISPLAYCONFIG_DEVICE_INFO_GET_SOURCE_NAME;
        source.header.size = sizeof source;
        source.header.adapterId = paths[i].sourceInfo.adapterId;
        source.header.id = paths[i].sourceInfo.id;
        char name[CCHDEVICENAME] = "";
        if (DisplayConfigGetDeviceInfo(&source.header) == ERROR_SUCCESS &&
            WideCharToMultiByte(CP_ACP, 0, source.viewGdiDeviceName, -1, name, sizeof name, nullptr, nullptr) &&
            std::strcmp(name, device) == 0) {
            numerator = paths[i].targetInfo.refreshRate.Numerator;
            denominator = paths[i].targetInfo.refreshRate.Denominator;
            return;
        }
    }
}

} // namespace

HMONITOR window_monitor(HWND window, bool over_every_monitor)
{
    return over_every_monitor ? MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY)
                              : MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
}

double monitor_refresh(HMONITOR monitor)
{
    unsigned compositor_numerator = 0, compositor_denominator = 0, config_numerator = 0, config_denominator = 0;
    unsigned settings_hz = 0;
    MONITORINFOEXA info = {};
    info.cbSize = sizeof info;
    if (monitor && GetMonitorInfoA(monitor, &info)) {
        if (info.dwFlags & MONITORINFOF_PRIMARY)
            compositor_refresh(compositor_numerator, compositor_denominator);
        configured_refresh(info.szDevice, config_numerator, config_denominator);
        DEVMODEA mode = {};
        mode.dmSize = sizeof mode;
        if (EnumDisplaySettingsA(info.szDevice, ENUM_CURRENT_SETTINGS, &mode))
            settings_hz = mode.dmDisplayFrequency;
    }
    return display_refresh(compositor_numerator, compositor_denominator, config_numerator, config_denominator,
                           settings_hz);
}
