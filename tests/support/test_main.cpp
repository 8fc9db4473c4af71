// Test main: every test process starts with a freshly initialised toolbox.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "toolbox.h"

namespace {

// The steps a test process got through, written where TINTWELL_TEST_STEPS says (the test runner
// names a file per run and shows it when the program ends badly): a process that ends before it
// prints anything still tells how far it came, and a test that failed is told even if its standard
// output never reached the runner.
FILE* g_steps = nullptr;

void step(const char* what, const char* detail = "")
{
    if (!g_steps) return;
    std::fprintf(g_steps, "%lu ms: %s%s%s\n", GetTickCount(), what, *detail ? " " : "", detail);
}

// Opened before any other static initialiser of the program runs: a process that records nothing
// ended in Wine's start of it, before the first line of ours.
__attribute__((constructor(101))) void open_steps()
{
    if (const char* path = std::getenv("TINTWELL_TEST_STEPS")) {
        g_steps = std::fopen(path, "a");
        if (g_steps) std::setvbuf(g_steps, nullptr, _IONBF, 0);
    }
    step("static initialisation begun");
}

struct StepRecorder : testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo& test) override
    {
        std::string name = std::string(test.test_suite_name()) + "." + test.name();
        step("test started:", name.c_str());
    }
    void OnTestPartResult(const testing::TestPartResult& result) override
    {
        if (!result.failed()) return;
        std::string where = std::string(result.file_name() ? result.file_name() : "?") + ":" +
                            std::to_string(result.line_number()) + ": " + result.summary();
        step("failure at", where.c_str());
    }
    void OnTestEnd(const testing::TestInfo& test) override
    {
        step(test.result()->Passed() ? "test passed" : "test failed");
    }
};

}  // namespace

int main(int argc, char** argv)
{
    // Unbuffered: what a test printed before its process died still reaches the test runner.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    step("main entered");
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new StepRecorder);
    tb_SetInstance(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
    tb_InitToolbox();
    step("toolbox up");
    tb_StartPictureCodecs();
    step("picture codecs up");
    int result = RUN_ALL_TESTS();
    tb_StopPictureCodecs();
    step("tests ended, result", std::to_string(result).c_str());
    // ctest names each test from the sources: a test that the executable does not hold (a stale
    // build, a test compiled out) must fail rather than pass by running nothing.
    if (testing::UnitTest::GetInstance()->test_to_run_count() == 0) {
        std::fprintf(stderr, "No test matched the filter: the executable does not hold this test.\n");
        return 1;
    }
    return result;
}
