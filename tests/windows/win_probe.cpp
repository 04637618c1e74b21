// win_probe CLASS[|CLASS...] [MESSAGE WPARAM | frames]: a line for each window of the classes in any process, after
// the message ("frames": the frames drawn); result "-" when unanswered, the text in UTF-8, a line break as "\n".
// --run PROGRAM [ARG...]: "exit=N" as Windows gives it; --mode WIDTH HEIGHT: as a user would change it;
// --settings-writable 0|1: Quillmere's keys under HKLM and HKCU readable only, or writable again.
#include "shell/frames_drawn_message.h"

#include <windows.h>
#include <sddl.h>
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
    if ((std::string("|") + wanted_class + "|").find(std::string("|") + name + "|") == std::string::npos)
        return;
    DWORD_PTR result = 0;
    const bool answered = !message || SendMessageTimeoutA(window, message, message_wparam, 0, SMTO_NORMAL, 10000, &result);
    RECT outer, client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    const HWND parent = GetAncestor(window, GA_PARENT);
    POINT origin = {};
    ClientToScreen(window, &origin);
    // In UTF-8 whatever the ANSI code page.
    wchar_t wide[512] = L"";
    char text[2048] = "";
    WideCharToMultiByte(CP_UTF8, 0, wide, GetWindowTextW(window, wide, 512) + 1, text, sizeof text, nullptr, nullptr);
    std::string line;
    for (const char* at = text; *at; ++at)
        if (*at == '\n')
            line += "\\n";
        else if (*at != '\r')
            line += *at;
    std::printf("hwnd=%lld parent=%lld outer=%ldx%ld+%ld+%ld client=%ldx%ld+%ld+%ld visible=%d iconic=%d topmost=%d result=%s owner=%lld text=%s\n",
                (long long)(INT_PTR)window, (long long)(parent == GetDesktopWindow() ? 0 : (INT_PTR)parent),
                outer.right - outer.left, outer.bottom - outer.top, outer.left, outer.top, client.right, client.bottom,
                origin.x, origin.y, IsWindowVisible(window) ? 1 : 0, IsIconic(window) ? 1 : 0,
                (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 1 : 0, answered ? std::to_string(result).c_str() : "-",
                (long long)(INT_PTR)GetWindow(window, GW_OWNER), line.c_str());
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
    if (argc == 3 && std::strcmp(argv[1], "--settings-writable") == 0) {
        PSECURITY_DESCRIPTOR access = nullptr;
        ConvertStringSecurityDescriptorToSecurityDescriptorA(*argv[2] == '1' ? "D:(A;;KA;;;WD)" : "D:(A;;KR;;;WD)",
                                                             SDDL_REVISION_1, &access, nullptr);
        int set = 0;
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
            HKEY key;
            if (RegCreateKeyExA(root, "Software\\Tovarind\\Quillmere", 0, nullptr, 0, WRITE_DAC, nullptr, &key, nullptr) == 0)
                set += RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, access) == 0, RegCloseKey(key);
        }
        return LocalFree(access), std::printf("set=%d\n", set), set == 2 ? 0 : 1;
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
