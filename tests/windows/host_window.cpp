// Stand-in for the screensaver host: shows a window, prints its handle as a
// decimal number on a line of its own, and destroys the window when a line
// arrives on standard input (or after a time limit), then exits.
#include <windows.h>
#include <cstdio>
#include <cstdlib>

namespace {

DWORD WINAPI wait_for_line(LPVOID window)
{
    char line[64];
    std::fgets(line, sizeof line, stdin);
    PostMessageA(static_cast<HWND>(window), WM_CLOSE, 0, 0);
    return 0;
}

LRESULT CALLBACK host_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

} // namespace

// Arguments: width height [seconds]; the client area gets that size.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    int width = __argc > 1 ? std::atoi(__argv[1]) : 320;
    int height = __argc > 2 ? std::atoi(__argv[2]) : 240;
    int seconds = __argc > 3 ? std::atoi(__argv[3]) : 120;

    WNDCLASSA host_class = {};
    host_class.lpfnWndProc = host_proc;
    host_class.hInstance = instance;
    host_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    host_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    host_class.lpszClassName = "quillmere test host";
    RegisterClassA(&host_class);

    RECT outer = {0, 0, width, height};
    AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
    HWND window = CreateWindowExA(0, host_class.lpszClassName, "Quillmere test host",
                                  WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40,
                                  outer.right - outer.left, outer.bottom - outer.top, nullptr,
                                  nullptr, instance, nullptr);
    if (!window)
        return 2;
    ShowWindow(window, SW_SHOW);
    std::printf("%lld\n", static_cast<long long>(reinterpret_cast<INT_PTR>(window)));
    std::fflush(stdout);

    CreateThread(nullptr, 0, wait_for_line, window, 0, nullptr);
    SetTimer(window, 1, static_cast<UINT>(seconds) * 1000, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER)
            DestroyWindow(window);
        DispatchMessageA(&message);
    }
    return 0;
}
