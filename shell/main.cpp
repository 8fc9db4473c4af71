// Entry point of the painting program.
#include "shell/shell.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    return shell_Main(instance, previous, commandLine, showCommand);
}
