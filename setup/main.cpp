// Entry point of the installer.
#include "setup/setup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    return setup_Main(instance, previous, commandLine, showCommand);
}
