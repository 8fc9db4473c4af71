// Test main: every test process starts with a freshly initialised toolbox.
#include <gtest/gtest.h>

#include "toolbox.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    tb_SetInstance(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
    tb_InitToolbox();
    return RUN_ALL_TESTS();
}
