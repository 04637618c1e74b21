// Test probe: prints one line for every window of a class, top-level or
// child, in any process:
//   hwnd=H parent=P outer=WxH+X+Y client=WxH visible=0|1
// Usage: win_probe CLASS
#include <windows.h>
#include <cstdio>
#include <cstring>

namespace {

const char* wanted_class;

void print_if_wanted(HWND window)
{
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, wanted_class) != 0)
        return;
    RECT outer, client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    std::printf("hwnd=%lld parent=%lld outer=%ldx%ld+%ld+%ld client=%ldx%ld visible=%d\n",
                static_cast<long long>(reinterpret_cast<INT_PTR>(window)),
                static_cast<long long>(reinterpret_cast<INT_PTR>(GetAncestor(window, GA_PARENT) == GetDesktopWindow()
                                                                  ? nullptr
                                                                  : GetAncestor(window, GA_PARENT))),
                outer.right - outer.left, outer.bottom - outer.top, outer.left, outer.top,
                client.right, client.bottom, IsWindowVisible(window) ? 1 : 0);
}

BOOL CALLBACK visit_child(HWND window, LPARAM)
{
    print_if_wanted(window);
    return TRUE;
}

BOOL CALLBACK visit_top_level(HWND window, LPARAM)
{
    print_if_wanted(window);
    EnumChildWindows(window, visit_child, 0);
    return TRUE;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: win_probe CLASS\n");
        return 2;
    }
    wanted_class = argv[1];
    EnumWindows(visit_top_level, 0);
    return 0;
}
