// Stand-in for the screensaver host: shows a window with a client area of
// WIDTH x HEIGHT, prints its handle as a decimal line, and closes it when a
// line arrives on standard input or after 120 s. Usage: host_window W H
#include <windows.h>
#include <cstdio>
#include <cstdlib>

namespace {

DWORD WINAPI close_on_line(LPVOID window)
{
    char line[64];
    std::fgets(line, sizeof line, stdin);
    return PostMessageA(static_cast<HWND>(window), WM_CLOSE, 0, 0);
}

LRESULT CALLBACK host_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_DESTROY || message == WM_TIMER)
        PostQuitMessage(0);
    return DefWindowProcA(window, message, wparam, lparam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA host_class = {0, host_proc, 0, 0, instance, nullptr, LoadCursorA(nullptr, IDC_ARROW),
                            static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)), nullptr, "quillmere test host"};
    RegisterClassA(&host_class);
    RECT outer = {0, 0, __argc > 2 ? std::atoi(__argv[1]) : 320, __argc > 2 ? std::atoi(__argv[2]) : 240};
    AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
    HWND window = CreateWindowExA(0, host_class.lpszClassName, "Quillmere test host",
                                  WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 40, 40,
                                  outer.right - outer.left, outer.bottom - outer.top, nullptr,
                                  nullptr, instance, nullptr);
    if (!window)
        return 2;
    std::printf("%lld\n", static_cast<long long>(reinterpret_cast<INT_PTR>(window)));
    std::fflush(stdout);
    CreateThread(nullptr, 0, close_on_line, window, 0, nullptr);
    SetTimer(window, 1, 120000, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}
