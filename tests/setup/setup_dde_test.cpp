// The Program Manager conversation against a server of the test's own on a second thread (the
// installer's waits dispatch nothing, so a server on the test's thread would never see a command).
#include "setup_test_util.h"

#include <objbase.h>
#include <memory>
#include <shlobj.h>

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

// The target of a link file, read back through the shell's link object; "" when it cannot be read.
std::string LinkTarget(const std::string& path)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::string target;
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&link))) {
        WCHAR wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
        char text[MAX_PATH] = {};
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void**)&file)) && SUCCEEDED(file->Load(wide, STGM_READ)) &&
            SUCCEEDED(link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH)))
            target = text;
        if (file) file->Release();
        link->Release();
    }
    CoUninitialize();
    return target;
}

// Clocks for the installer's waits on Program Manager. One stands still: only an answer ends a
// wait. The other stands still until the server has taken what was sent to it (COUNT commands and
// terminates), then moves a quarter second at each reading: a wait that no answer ends runs out
// at once, and never before the server could have answered.
DWORD WINAPI StoppedClock(void) { return 1000; }

struct RunningClock {
    static constexpr DWORD kStep = 250;
    static RunningClock* running;
    ProgmanServer& server;
    size_t count;
    DWORD now = 0;
    RunningClock(ProgmanServer& s, size_t c) : server(s), count(c)
    {
        running = this;
        setup.clock = Read;
    }
    ~RunningClock()
    {
        setup.clock = GetTickCount;
        running = nullptr;
    }
    void restart(size_t c)
    {
        count = c;
        now = 0;
    }
    static DWORD WINAPI Read(void)
    {
        RunningClock* c = running;
        if (c->server.commands().size() + (size_t)c->server.terminates() >= c->count) c->now += kStep;
        return c->now;
    }
};
RunningClock* RunningClock::running = nullptr;

// A top-level window whose thread has stopped answering (a hung program) until released.
struct HungWindow {
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = nullptr;
    HungWindow()
    {
        thread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
        WaitForSingleObject(ready, 10000);
    }
    ~HungWindow()
    {
        SetEvent(release);
        WaitForSingleObject(thread, 20000);
        CloseHandle(thread);
        CloseHandle(release);
        CloseHandle(ready);
    }
    static DWORD WINAPI Run(void* p)
    {
        HungWindow* h = (HungWindow*)p;
        HWND window = CreateWindowExA(0, "STATIC", "hung", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        SetEvent(h->ready);
        WaitForSingleObject(h->release, INFINITE);  // takes no messages until released
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        DestroyWindow(window);
        return 0;
    }
};

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
    programs.clear();  // and no Start menu to make links in
    BoxScript boxes;
    setup.clock = StoppedClock;  // only the refusal can end the wait for the answer
    EXPECT_EQ(setup_CreateProgramGroup(), 0);
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
    RunningClock clock(server, 1);
    EXPECT_EQ(setup_ExecuteProgman("[CreateGroup(\"Tintwell\", v1.0)]"), 0);
    EXPECT_GE(clock.now, 10000u);
    EXPECT_LE(clock.now, 10000u + 2 * RunningClock::kStep);
    EXPECT_EQ(server.commands().size(), 1u);
    // The terminate waits as long for an answer that never comes, then lets the server go.
    clock.restart(2);
    setup_TerminateProgman();
    EXPECT_GE(clock.now, 10000u);
    EXPECT_LE(clock.now, 10000u + 2 * RunningClock::kStep);
    EXPECT_EQ(setup.progman, nullptr);
    EXPECT_EQ(server.terminates(), 1);
}

TEST_F(SetupTest, WithoutProgmanTheGroupIsMadeOfShellLinks)
{
    struct {
        const char* what;
        ProgmanServer::Mode server;  // kSilent: none runs
        bool startMenu;              // a common Programs folder to make links in
        int created;
    } cases[] = {
        {"no Program Manager", ProgmanServer::kSilent, true, 1},
        {"Program Manager refuses the group", ProgmanServer::kRefuseCreateGroup, true, 1},
        {"no Program Manager and no Start menu", ProgmanServer::kSilent, false, 0},
    };
    const std::string destination = folder + "dest\\";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RemoveTree(folder + "Programs");
        programs = c.startMenu ? folder + "Programs\\" : "";
        Fill("Tintwell", destination.c_str(), "paint.exe", "Help_twk.html");
        std::unique_ptr<ProgmanServer> server;
        if (c.server != ProgmanServer::kSilent) {
            server.reset(new ProgmanServer(c.server, mainWindow()));
            ASSERT_EQ(setup_OpenProgman(), 1);
        }
        BoxScript boxes;
        EXPECT_EQ(setup_CreateProgramGroup(), c.created);
        if (!c.created) {
            ASSERT_EQ(boxes.count(), 1u);
            EXPECT_EQ(boxes.lastText(), NoGroup());
            continue;
        }
        EXPECT_EQ(boxes.count(), 0u);
        // The same two items in every user's Programs folder, read back through the shell.
        std::string group = folder + "Programs\\Common\\Tintwell\\";
        EXPECT_STRCASEEQ(LinkTarget(group + "Tintwell.lnk").c_str(), (destination + "paint.exe").c_str());
        EXPECT_STRCASEEQ(LinkTarget(group + "Help.lnk").c_str(), (destination + "Help_twk.html").c_str());
        // The uninstall takes the group folder away once its items are gone.
        DeleteFileA((group + "Tintwell.lnk").c_str());
        DeleteFileA((group + "Help.lnk").c_str());
        setup_RemoveGroupFolders("Tintwell");
        EXPECT_FALSE(FileExists(group));
    }
}

TEST_F(SetupTest, AHungWindowDoesNotHoldTheInitiate)
{
    // The window takes no message until the test ends: an initiate that waited for it would
    // never come back. How long the broadcast takes depends on the machine's load, not on Setup.
    HungWindow hung;
    ProgmanServer server(ProgmanServer::kAccept, mainWindow());
    EXPECT_EQ(setup_OpenProgman(), 1);
    EXPECT_EQ(setup.progman, server.window());
    setup_TerminateProgman();
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
