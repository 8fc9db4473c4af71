// Test main: every test process starts with a freshly initialised toolbox.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "steps.h"
#include "toolbox.h"

namespace {

struct StepRecorder : testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo& test) override
    {
        std::string name = std::string(test.test_suite_name()) + "." + test.name();
        steps_Record("test started:", name.c_str());
    }
    void OnTestPartResult(const testing::TestPartResult& result) override
    {
        if (!result.failed()) return;
        std::string where = std::string(result.file_name() ? result.file_name() : "?") + ":" +
                            std::to_string(result.line_number()) + ": " + result.summary();
        steps_Record("failure at", where.c_str());
    }
    void OnTestEnd(const testing::TestInfo& test) override
    {
        steps_Record(test.result()->Passed() ? "test passed" : "test failed");
    }
};

}  // namespace

int main(int argc, char** argv)
{
    // Unbuffered: what a test printed before its process died still reaches the test runner.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    steps_Record("main entered");
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new StepRecorder);
    tb_SetInstance(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
    tb_InitToolbox();
    steps_Record("toolbox up");
    tb_StartPictureCodecs();
    steps_Record("picture codecs up");
    int result = RUN_ALL_TESTS();
    tb_StopPictureCodecs();
    steps_Record("tests ended, result", std::to_string(result).c_str());
    // ctest names each test from the sources: a test that the executable does not hold (a stale
    // build, a test compiled out) must fail rather than pass by running nothing.
    if (testing::UnitTest::GetInstance()->test_to_run_count() == 0) {
        std::fprintf(stderr, "No test matched the filter: the executable does not hold this test.\n");
        return 1;
    }
    return result;
}
