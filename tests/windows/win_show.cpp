// Test tool for the first window of a class. With a ShowWindow command it
// gives it that command, as the user's maximise or minimise would; without,
// it exits 0 when the window is the foreground window, that is when Wine
// has taken in the focus the test gave it. Usage: win_show CLASS [SW_NUMBER]
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    HWND window = argc >= 2 ? FindWindowA(argv[1], nullptr) : nullptr;
    if (!window)
        return 1;
    if (argc == 2)
        return GetForegroundWindow() == window ? 0 : 1;
    return ShowWindowAsync(window, std::atoi(argv[2])) ? 0 : 1;
}
