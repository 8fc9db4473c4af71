#include "shell/shell.h"

#include "toolbox.h"

int shell_Main(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    tb_SetInstance(instance, showCommand);
    tb_InitToolbox();
    return 0;
}
