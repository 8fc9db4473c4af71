// The painting program's shell: start-up, the main window and the message loop.
#pragma once

#include <windows.h>

int shell_Main(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
