// The entry point of the .scr.
#include "shell/entry.h"
#include "shell/shell.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command)
{
    app_instance = instance;
    return run_entry(GetCommandLineA(), show_command);
}
