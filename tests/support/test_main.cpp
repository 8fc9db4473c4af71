// Test main: every test process starts with a freshly initialised toolbox.
#include <gtest/gtest.h>

#include <cstdio>

#include "toolbox.h"

int main(int argc, char** argv)
{
    // Unbuffered: what a test printed before its process died still reaches the test runner.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    testing::InitGoogleTest(&argc, argv);
    tb_SetInstance(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
    tb_InitToolbox();
    tb_StartPictureCodecs();
    int result = RUN_ALL_TESTS();
    tb_StopPictureCodecs();
    // ctest names each test from the sources: a test that the executable does not hold (a stale
    // build, a test compiled out) must fail rather than pass by running nothing.
    if (testing::UnitTest::GetInstance()->test_to_run_count() == 0) {
        std::fprintf(stderr, "No test matched the filter: the executable does not hold this test.\n");
        return 1;
    }
    return result;
}
