// Test probe. win_probe CLASS [MESSAGE WPARAM | frames]: one line for every window of
// the class in any process, after sending it the message if one is given ("frames": the
// count of frames drawn); R is its answer, "-" when it went unanswered:
//   hwnd=H parent=P outer=WxH+X+Y client=WxH+X+Y visible=0|1 iconic=0|1 topmost=0|1 result=R owner=O text=T
// win_probe --run PROGRAM [ARG...]: "exit=N", its exit code as Windows gives it.
// win_probe --mode WIDTH HEIGHT: changes the display's mode as a user would.
// win_probe --host WIDTH HEIGHT: a host for previews, as the Screen Saver Settings page is: a window of class and
// title "Quillmere host" with one Static control of WIDTH x HEIGHT, until it is closed.
#include "shell/frames_drawn_message.h"

#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char* wanted_class;
UINT message;
WPARAM message_wparam;

void visit(HWND window)
{
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, wanted_class) != 0)
        return;
    DWORD_PTR result = 0;
    const bool answered = !message || SendMessageTimeoutA(window, message, message_wparam, 0, SMTO_NORMAL, 10000, &result);
    RECT outer, client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    const HWND parent = GetAncestor(window, GA_PARENT);
    POINT origin = {};
    ClientToScreen(window, &origin);
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    std::printf("hwnd=%lld parent=%lld outer=%ldx%ld+%ld+%ld client=%ldx%ld+%ld+%ld visible=%d iconic=%d topmost=%d result=%s owner=%lld text=%s\n",
                (long long)(INT_PTR)window, (long long)(parent == GetDesktopWindow() ? 0 : (INT_PTR)parent),
                outer.right - outer.left, outer.bottom - outer.top, outer.left, outer.top, client.right, client.bottom,
                origin.x, origin.y, IsWindowVisible(window) ? 1 : 0, IsIconic(window) ? 1 : 0,
                (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 1 : 0,
                answered ? std::to_string(result).c_str() : "-",
                (long long)(INT_PTR)GetWindow(window, GW_OWNER), text);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--run") == 0) {
        std::string line = std::strstr(GetCommandLineA(), "--run ") + 6;
        STARTUPINFOA start = {};
        start.cb = sizeof start;
        PROCESS_INFORMATION child = {};
        DWORD code = 255;
        if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start, &child))
            WaitForSingleObject(child.hProcess, INFINITE), GetExitCodeProcess(child.hProcess, &code);
        return std::printf("exit=%lu\n", code), std::fflush(stdout), 0;
    }
    if (argc == 4 && std::strcmp(argv[1], "--mode") == 0) {
        DEVMODEA mode = {};
        mode.dmSize = sizeof mode;
        mode.dmPelsWidth = std::strtoul(argv[2], nullptr, 10);
        mode.dmPelsHeight = std::strtoul(argv[3], nullptr, 10);
        mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
        return std::printf("mode=%ld\n", ChangeDisplaySettingsA(&mode, 0)), 0;
    }
    if (argc == 4 && std::strcmp(argv[1], "--host") == 0) {
        SetProcessDPIAware();
        WNDCLASSA host = {};
        host.lpfnWndProc = [](HWND window, UINT message, WPARAM wparam, LPARAM lparam) -> LRESULT {
            if (message == WM_DESTROY)
                PostQuitMessage(0);
            return DefWindowProcA(window, message, wparam, lparam);
        };
        host.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        host.lpszClassName = "Quillmere host";
        RegisterClassA(&host);
        const int width = std::atoi(argv[2]), height = std::atoi(argv[3]);
        HWND window = CreateWindowA(host.lpszClassName, host.lpszClassName, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                    width + 80, height + 120, nullptr, nullptr, nullptr, nullptr);
        CreateWindowA("Static", "", WS_CHILD | WS_VISIBLE, 30, 30, width, height, window, nullptr, nullptr, nullptr);
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0)
            DispatchMessageA(&message);
        return 0;
    }
    const bool frames = argc == 3 && std::strcmp(argv[2], "frames") == 0;
    if (argc != 2 && argc != 4 && !frames)
        return 2;
    wanted_class = argv[1];
    message = frames ? frames_drawn_message : argc == 4 ? static_cast<UINT>(std::strtoul(argv[2], nullptr, 0)) : 0;
    message_wparam = argc == 4 ? static_cast<WPARAM>(std::strtoull(argv[3], nullptr, 0)) : 0;
    EnumWindows([](HWND window, LPARAM) {
        visit(window);
        EnumChildWindows(window, [](HWND child, LPARAM) { return visit(child), TRUE; }, 0);
        return TRUE;
    }, 0);
    return 0;
}
