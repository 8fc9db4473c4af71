#include "setup/setup.h"

#include "toolbox.h"

int setup_Main(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    tb_SetInstance(instance, showCommand);
    tb_InitToolbox();
    return 0;
}
