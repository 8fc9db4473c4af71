// The Program Manager conversation against a server of the test's own on a second thread (the
// installer's waits dispatch nothing, so a server on the test's thread would never see a command).
#include "setup_test_util.h"

namespace {

void Fill(const char* group, const char* destination, const char* exe, const char* help)
{
    snprintf(setup.programGroup, SETUP_TEXT, "%s", group);
    snprintf(setup.destination, SETUP_TEXT, "%s", destination);
    snprintf(setup.programExe, SETUP_TEXT, "%s", exe);
    snprintf(setup.programHelp, SETUP_TEXT, "%s", help);
}

const std::vector<std::string> kAllThree = {
    "[CreateGroup(\"Tintwell\", v1.0)]",
    "[AddItem(\"c:\\Program Files\\Marrowby\\Tintwell\\paint.exe\",\"Tintwell\")]",
    "[AddItem(\"c:\\Program Files\\Marrowby\\Tintwell\\Help_twk.html\",\"Help\")]",
};

std::string NoGroup() { return std::string(setup_kNoGroup) + setup_kContactLines; }

}  // namespace

TEST_F(SetupTest, ProgmanAcceptingAllThreeCommandsMakesTheGroup)
{
    ProgmanServer server(ProgmanServer::kAccept, mainWindow());
    ASSERT_EQ(setup_OpenProgman(), 1);
    ASSERT_EQ(setup.progman, server.window());
    Fill("Tintwell", "c:\\Program Files\\Marrowby\\Tintwell\\", "paint.exe", "Help_twk.html");
    BoxScript boxes;
    EXPECT_EQ(setup_CreateProgramGroup(), 1);
    EXPECT_EQ(server.commands(), kAllThree);
    EXPECT_EQ(boxes.count(), 0u);
    // The conversation ended with the server's own terminate.
    EXPECT_EQ(server.terminates(), 1);
    EXPECT_EQ(setup.progman, nullptr);
    // A second open finds the server again.
    EXPECT_EQ(setup_OpenProgman(), 1);
    setup_TerminateProgman();
}

TEST_F(SetupTest, ProgmanRefusingCreateGroupGetsNoAddItem)
{
    ProgmanServer server(ProgmanServer::kRefuseCreateGroup, mainWindow());
    ASSERT_EQ(setup_OpenProgman(), 1);
    Fill("Tintwell", "c:\\Program Files\\Marrowby\\Tintwell\\", "paint.exe", "Help_twk.html");
    BoxScript boxes;
    DWORD start = GetTickCount();
    EXPECT_EQ(setup_CreateProgramGroup(), 0);
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_EQ(server.commands(), std::vector<std::string>{kAllThree[0]});
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.lastText(), NoGroup());
    EXPECT_EQ(boxes.seen()[0].caption, "Attention!");
    EXPECT_EQ(server.terminates(), 1);
}

TEST_F(SetupTest, ProgmanThatNeverAnswersTimesOutAfterTenSeconds)
{
    ProgmanServer server(ProgmanServer::kSilent, mainWindow());
    ASSERT_EQ(setup_OpenProgman(), 1);
    DWORD start = GetTickCount();
    EXPECT_EQ(setup_ExecuteProgman("[CreateGroup(\"Tintwell\", v1.0)]"), 0);
    DWORD waited = GetTickCount() - start;
    EXPECT_GE(waited, 10000u);
    EXPECT_LT(waited, 12000u);
    EXPECT_EQ(server.commands().size(), 1u);
    // The terminate waits as long for an answer that never comes, then lets the server go.
    start = GetTickCount();
    setup_TerminateProgman();
    waited = GetTickCount() - start;
    EXPECT_GE(waited, 10000u);
    EXPECT_LT(waited, 12000u);
    EXPECT_EQ(setup.progman, nullptr);
    EXPECT_EQ(server.terminates(), 1);
}

TEST_F(SetupTest, WithoutProgmanTheGroupFailsWithItsMessage)
{
    // No initiate was sent: no conversation.
    Fill("Tintwell", "c:\\Kids\\", "paint.exe", "Help_twk.html");
    BoxScript boxes;
    EXPECT_EQ(setup_ExecuteProgman("[CreateGroup(\"Tintwell\", v1.0)]"), 0);
    EXPECT_EQ(setup_CreateProgramGroup(), 0);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.lastText(), NoGroup());
}

TEST_F(SetupTest, ATerminateFromTheServerIsAnsweredAndEndsTheConversation)
{
    ProgmanServer server(ProgmanServer::kAccept, mainWindow());
    ASSERT_EQ(setup_OpenProgman(), 1);
    server.terminateFirst();
    DWORD start = GetTickCount();
    MSG msg;
    while (setup.progman && GetTickCount() - start < 5000) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(5);
    }
    EXPECT_EQ(setup.progman, nullptr);
    // The server got the answering terminate.
    start = GetTickCount();
    while (server.terminates() == 0 && GetTickCount() - start < 5000) Sleep(5);
    EXPECT_EQ(server.terminates(), 1);
    EXPECT_EQ(setup_ExecuteProgman("[CreateGroup(\"x\", v1.0)]"), 0);
    EXPECT_TRUE(server.commands().empty());
}
