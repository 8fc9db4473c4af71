// The floor of the start-up timing: a Windows program that does nothing, so that launching it
// and seeing it exit measures what Wine itself costs before any program code runs.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
