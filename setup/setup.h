// The installer: start-up, its window and the message loop.
#pragma once

#include <windows.h>

int setup_Main(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
