// The installer's switches as a console or deployment tool types them.
#include "setup_test_util.h"

TEST(SetupSwitches, ReadAsTyped)
{
    struct {
        const char* line;
        int result;
        int quiet, uninstall, help;
        const char* dir;
        const char* log;
        const char* bad;
    } cases[] = {
        {"", 0, 0, 0, 0, "", "", ""},
        {"/quiet", 0, 1, 0, 0, "", "", ""},
        {"  -QUIET\t/Uninstall ", 0, 1, 1, 0, "", "", ""},
        {"/?", 0, 0, 0, 1, "", "", ""},
        // A value runs to the end of the argument, or from a quote to the next; no escapes.
        {"/dir=C:\\Kids /log=setup.log", 0, 0, 0, 0, "C:\\Kids\\", "setup.log", ""},
        {"/quiet /DIR=\"C:\\Program Files\\Kids\\\" /log=\"my log.txt\"", 0, 1, 0, 0, "C:\\Program Files\\Kids\\",
         "my log.txt", ""},
        {"\"/dir=D:\\School Apps\\Paint\"", 0, 0, 0, 0, "D:\\School Apps\\Paint\\", "", ""},
        {"/dir=C:/Kids/", 0, 0, 0, 0, "C:\\Kids\\", "", ""},
        {"/dir=\\\\server\\apps\\paint", 0, 0, 0, 0, "\\\\server\\apps\\paint\\", "", ""},
        // What cannot be used: exit 87 and the argument for the message.
        {"/quiet /dir=Kids", SETUP_EXIT_BAD_SWITCH, 1, 0, 0, "", "", "/dir=Kids"},
        {"/dir=D:Games", SETUP_EXIT_BAD_SWITCH, 0, 0, 0, "", "", "/dir=D:Games"},
        {"/dir=Kids\\Paint", SETUP_EXIT_BAD_SWITCH, 0, 0, 0, "", "", "/dir=Kids\\Paint"},
        {"/dir=", SETUP_EXIT_BAD_SWITCH, 0, 0, 0, "", "", "/dir="},
        {"/dir", SETUP_EXIT_BAD_SWITCH, 0, 0, 0, "", "", "/dir"},
        {"/log", SETUP_EXIT_BAD_SWITCH, 0, 0, 0, "", "", "/log"},
        {"/quiet=yes", SETUP_EXIT_BAD_SWITCH, 0, 0, 0, "", "", "/quiet=yes"},
        {"/silent", SETUP_EXIT_BAD_SWITCH, 0, 0, 0, "", "", "/silent"},
        {"quiet", SETUP_EXIT_BAD_SWITCH, 0, 0, 0, "", "", "quiet"},
        {"/uninstall /dir=C:\\Kids", SETUP_EXIT_BAD_SWITCH, 0, 1, 0, "C:\\Kids\\", "", "/dir"},
        {"/dir=\"C:\\Kids", 0, 0, 0, 0, "C:\\Kids\\", "", ""},  // an open quote runs to the end
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        SetupSwitches s;
        EXPECT_EQ(setup_ParseSwitches(c.line, &s), c.result);
        EXPECT_EQ(s.quiet, c.quiet);
        EXPECT_EQ(s.uninstall, c.uninstall);
        EXPECT_EQ(s.help, c.help);
        if (c.result == 0 || c.dir[0]) {
            EXPECT_STREQ(s.dir, c.dir);
        }
        EXPECT_STREQ(s.log, c.log);
        EXPECT_STREQ(s.bad, c.bad);
    }
    // A value longer than any folder is refused, not cut.
    SetupSwitches s;
    EXPECT_EQ(setup_ParseSwitches(("/dir=C:\\" + std::string(400, 'k')).c_str(), &s), SETUP_EXIT_BAD_SWITCH);
}
