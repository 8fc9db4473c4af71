// The command menu, the dispatcher and the shell's own commands (Quit, New with its wipes, About,
// Help, Preferences) on the room built on a test window. The picture files' commands, the close
// request and the help viewers are replaced by recorders.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../scene/scene_window.h"
#include "boxes.h"
#include "test_files.h"
#include "pictures/pictures.h"
#include "pictures/preferences.h"
#include "pictures/recovery.h"
#include "scene/scene_routing.h"
#include "shell/shell.h"
#include "toolbox.h"

namespace {

std::vector<std::string> g_log;
int g_saveAnswer;     // what the fake save-before question answers
int g_sounds[16];     // wipe sounds and beeps, in order
int g_soundCount;
bool g_whiteWhenPagesOffered;

void note(const std::string& s) { g_log.push_back(s); }
int count(const std::string& s)
{
    int n = 0;
    for (const auto& e : g_log) n += e == s;
    return n;
}

int fakeSaveBefore(const char* question)
{
    note(std::string("saveBefore ") + question);
    return g_saveAnswer;
}
void fakeSave() { note("save"); }
void fakeOpen() { note("open"); }
int fakeGallery()
{
    note("gallery");
    return 0;
}
int fakePages()
{
    note("pages");
    g_whiteWhenPagesOffered = PixelOf(scene.canvasBitmap, 10, 10) == (Channels{255, 255, 255});
    return 0;
}
void fakePrint() { note("print"); }
void fakeClose() { note("close"); }

std::string g_helpFile;
UINT g_helpCommand;
BOOL WINAPI fakeWinHelp(HWND owner, LPCSTR file, UINT command, ULONG_PTR data)
{
    note("winhelp");
    g_helpFile = file;
    g_helpCommand = command;
    EXPECT_EQ(owner, nullptr);
    EXPECT_EQ(data, 0u);
    return TRUE;
}
std::string g_openedFile, g_verb;
HINSTANCE WINAPI fakeShellExecute(HWND, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR, INT)
{
    note("browser");
    g_verb = verb ? verb : "";
    g_openedFile = file ? file : "";
    return (HINSTANCE)(INT_PTR)42;
}

void watchSounds(TB_SoundKind kind, int id)
{
    if ((kind == TB_SOUND_NOSTOP && (id == 1016 || id == 1017 || id == 1018 || id == 1031)) || kind == TB_SOUND_BEEP)
        if (g_soundCount < 16) g_sounds[g_soundCount++] = kind == TB_SOUND_BEEP ? -1 : id;
}

class Commands : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        savedPictures = pictureCommands;
        savedHooks = shellHooks;
        savedHelp = helpServices;
        pictureCommands = {fakeSaveBefore, fakeSave, fakeOpen, fakeGallery, fakePages, fakePrint};
        shellHooks.closeRequest = fakeClose;
        helpServices = {fakeWinHelp, fakeShellExecute};
        g_log.clear();
        g_saveAnswer = 1;
        g_soundCount = 0;
        g_whiteWhenPagesOffered = false;
        tb_SetSoundObserver(watchSounds);
        commands.nextAnimation = SHELL_CURTAIN;
        preferences = {1, 1, 1};
        // The recovery copy in a folder of the test's own.
        savedRecovery = recovery;
        recoveryFolder = TempFile("recovery") + "\\";
        CreateDirectoryA(recoveryFolder.c_str(), nullptr);
        lstrcpynA(recovery.folder, recoveryFolder.c_str(), sizeof recovery.folder);
        StartAt(640, 480);
        ShowWindow(tb_GetWindowHandle(SceneTestWindow()), SW_SHOW);
        scene.modified = 0;
    }
    void TearDown() override
    {
        tb_SetSoundObserver(nullptr);
        pictureCommands = savedPictures;
        shellHooks = savedHooks;
        helpServices = savedHelp;
        DeleteFileA((recoveryFolder + "picture.bmp").c_str());
        RemoveDirectoryA(recoveryFolder.c_str());
        recovery = savedRecovery;
        SceneTest::TearDown();
    }
    // A red mark on the picture, as a stroke would leave it.
    void Scribble()
    {
        RECT r = {0, 0, 40, 40};
        tb_SetForeColor(scene.canvasBitmap, 65025, 0, 0);
        tb_PaintRect(scene.canvasBitmap, &r);
        scene_SaveUndo();
        scene.modified = 1;
    }
    PictureCommands savedPictures;
    ShellHooks savedHooks;
    HelpServices savedHelp;
    Recovery savedRecovery;
    std::string recoveryFolder;
};

TEST_F(Commands, MenuHoldsTheItemsInOrderWithTheirIdentifiers)
{
    shell.commandMenu = nullptr;
    shell_BuildCommandMenu();
    ASSERT_NE(shell.commandMenu, nullptr);
    struct Item {
        const char* label;  // nullptr: separator
        int identifier, command;
    };
    const Item expected[] = {
        {"&New...", 40019, 2},  {"&Open...", 40020, 3},        {"&Save...", 40021, 1}, {nullptr, 0, 0},
        {"&Gallery...", 40022, 7}, {nullptr, 0, 0},            {"&Preferences...", 40023, 6}, {nullptr, 0, 0},
        {"&Help...", 40026, 5}, {"&About...", 40025, 4},       {nullptr, 0, 0},        {"&Quit...", 40027, 0},
    };
    ASSERT_EQ(GetMenuItemCount(shell.commandMenu), 12);
    for (int i = 0; i < 12; ++i) {
        MENUITEMINFOA info = {};
        char text[64] = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        ASSERT_TRUE(GetMenuItemInfoA(shell.commandMenu, i, TRUE, &info));
        if (!expected[i].label) {
            EXPECT_TRUE(info.fType & MFT_SEPARATOR) << "item " << i;
            continue;
        }
        EXPECT_STREQ(text, expected[i].label);
        EXPECT_EQ((int)info.wID, expected[i].identifier);
        EXPECT_EQ(shell_CommandOfMenuItem(info.wID), expected[i].command) << text;
    }
    DestroyMenu(shell.commandMenu);
    shell.commandMenu = nullptr;
}

TEST_F(Commands, DispatcherCarriesOutEveryCommandAndIgnoresOthers)
{
    boxes->onDialog([](HWND dialog) {
        char caption[64] = {};
        GetWindowTextA(dialog, caption, sizeof caption);
        note(std::string("dialog ") + caption);
        // The About box closes with a click, the preferences screen with Escape.
        if (std::string(caption) == "About Tintwell...")
            PostMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
        else
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    struct Case {
        int command;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {1, {"save"}},
        {3, {"open"}},
        {4, {"dialog About Tintwell..."}},
        {6, {"dialog "}},  // the preferences screen (no caption), left with Escape
        {7, {"gallery"}},
        {2, {"pages"}},
        {0, {"close"}},
        {8, {}},
        {-2, {}},
        {1000, {}},
    };
    for (const Case& c : cases) {
        g_log.clear();
        shell_DispatchCommand(c.command);
        EXPECT_EQ(g_log, c.log) << "command " << c.command;
    }
}

// The remote's Back strip and its Escape do nothing; a button is carried out like the menu item.
TEST_F(Commands, TheRemoteHandsItsButtonToTheDispatcher)
{
    static int step;
    step = 0;
    boxes->onDialog([](HWND dialog) {
        RECT r;
        GetClientRect(dialog, &r);
        if (r.right == 228) {
            // First Back, then Escape, then the Save button (29, 46)-(101, 87).
            int x = step == 0 ? 50 : 60, y = step == 0 ? 228 : 66;
            if (step == 1) {
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            } else {
                PostMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
                PostMessageA(dialog, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
            }
            note("remote " + std::to_string(step++));
        }
        return true;
    });
    shell_DispatchCommand(SHELL_ASK_REMOTE);
    shell_DispatchCommand(SHELL_ASK_REMOTE);
    EXPECT_EQ(g_log, (std::vector<std::string>{"remote 0", "remote 1"}));
    g_log.clear();
    DWORD start = GetTickCount();
    shell_DispatchCommand(SHELL_ASK_REMOTE);
    EXPECT_GE(GetTickCount() - start, 490u) << "the press is seen and heard before the room reacts";
    EXPECT_EQ(g_log, (std::vector<std::string>{"remote 2", "save"}));
}

TEST_F(Commands, FiveNewCommandsWipeInTurnAndLeaveNoUndo)
{
    const int expected[] = {1016, 1017, 1031, 1018, 1016};
    for (int i = 0; i < 5; ++i) {
        Scribble();
        scene.modified = 0;
        shell_DispatchCommand(SHELL_NEW);
        EXPECT_TRUE(g_whiteWhenPagesOffered) << "the pages are offered on a cleared canvas";
        EXPECT_EQ(PixelOf(scene.canvasBitmap, 10, 10), (Channels{255, 255, 255}));
        EXPECT_EQ(WindowPixel(scene.layout.origin.x + 10, scene.layout.origin.y + 10), (Channels{255, 255, 255}));
    }
    ASSERT_EQ(g_soundCount, 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(g_sounds[i], expected[i]) << "New number " << i + 1;
    EXPECT_STREQ(scene.fileName, "Tintwell.bmp");
    EXPECT_EQ(count("pages"), 5);
    // The cleaner bottle cannot bring the old picture back.
    EXPECT_EQ(scene.undoAvailable, 0);
    scene_CleanerBottle();
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 10, 10), (Channels{255, 255, 255}));
}

TEST_F(Commands, NewWithoutAnimationBeepsAndClearsAtOnce)
{
    preferences.animation = 0;
    Scribble();
    scene.modified = 0;
    DWORD start = GetTickCount();
    shell_New();
    EXPECT_LT(GetTickCount() - start, 150u);
    ASSERT_EQ(g_soundCount, 1);
    EXPECT_EQ(g_sounds[0], -1);  // the beep
    EXPECT_EQ(commands.nextAnimation, SHELL_CURTAIN);
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 10, 10), (Channels{255, 255, 255}));
    // Silent with the sound off.
    tb_SetSoundPreference(0);
    shell_New();
    EXPECT_EQ(g_soundCount, 1);
}

TEST_F(Commands, NewWhileZoomedReturnsToTheNormalView)
{
    preferences.animation = 0;
    scene.zoomed = 1;
    scene.scroll = {100, 100};
    scene_ShowAll();
    shell_New();
    EXPECT_EQ(scene.zoomed, 0);
    // The canvas shows the whole (white) picture at its own size again.
    EXPECT_EQ(WindowPixel(scene.layout.canvas.right - 2, scene.layout.canvas.bottom - 2), (Channels{255, 255, 255}));
}

TEST_F(Commands, NewAsksBeforeClearingAModifiedPictureAndStopsWhenTheSaveFailed)
{
    preferences.animation = 0;
    Scribble();
    g_saveAnswer = 0;  // Yes was answered and the picture could not be saved
    shell_New();
    EXPECT_EQ(g_log, (std::vector<std::string>{
                         "saveBefore Do you want to save the current picture before starting a new one?"}));
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 10, 10), (Channels{255, 0, 0})) << "the picture stays";
    EXPECT_EQ(scene.modified, 1);

    g_log.clear();
    g_saveAnswer = 1;
    shell_New();
    EXPECT_EQ(count("saveBefore Do you want to save the current picture before starting a new one?"), 1);
    EXPECT_EQ(count("pages"), 1);
    EXPECT_EQ(scene.modified, 0);
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 10, 10), (Channels{255, 255, 255}));
}

// Quit asks once, only about a changed picture; a picture that was to be kept and was not saved
// stays, with its recovery copy; once Quit is answered the copy goes with the program.
TEST_F(Commands, QuitAsksOnceOnlyWhenModifiedAndStaysWhenTheSaveFailed)
{
    const std::string copy = recoveryFolder + "picture.bmp";
    shell_DispatchCommand(SHELL_QUIT);
    EXPECT_EQ(g_log, (std::vector<std::string>{"close"}));

    Scribble();
    WriteWholeFile(copy, {1, 2, 3});
    g_log.clear();
    g_saveAnswer = 0;
    shell_DispatchCommand(SHELL_QUIT);
    EXPECT_EQ(g_log, (std::vector<std::string>{"saveBefore Do you want to save the current picture before quitting?"}));
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 10, 10), (Channels{255, 0, 0}));
    EXPECT_FALSE(ReadWholeFile(copy).empty());

    g_saveAnswer = 1;
    shell_DispatchCommand(SHELL_QUIT);
    EXPECT_EQ(g_log.back(), "close");
    EXPECT_TRUE(ReadWholeFile(copy).empty());
}

// While the save question of one command is up, another command (a second Quit, New, the remote,
// Save) is ignored without a sound or a box; once the first has ended, the next one runs.
TEST_F(Commands, ACommandThatArrivesWhileAnotherRunsIsIgnored)
{
    pictureCommands.saveBefore = [](const char* question) {
        note("question");
        for (int command : {SHELL_QUIT, SHELL_NEW, SHELL_ASK_REMOTE, SHELL_SAVE, SHELL_GALLERY})
            shell_DispatchCommand(command);
        return 0;
    };
    ListenToSounds();
    Scribble();
    shell_DispatchCommand(SHELL_QUIT);
    EXPECT_EQ(g_log, (std::vector<std::string>{"question"}));
    EXPECT_TRUE(SoundsHeard().empty());
    EXPECT_EQ(boxes->count(), 0u);
    g_log.clear();
    shell_DispatchCommand(SHELL_SAVE);
    EXPECT_EQ(g_log, (std::vector<std::string>{"save"}));
}

TEST_F(Commands, AboutIsSizedToItsPictureAndShowsIt)
{
    static RECT window, client;
    static COLORREF shown, expected;
    boxes->onDialog([](HWND dialog) {
        ShowWindow(dialog, SW_SHOW);
        UpdateWindow(dialog);
        GetWindowRect(dialog, &window);
        GetClientRect(dialog, &client);
        UpdateWindow(dialog);
        HDC dc = GetDC(dialog);
        shown = GetPixel(dc, 200, 120);
        ReleaseDC(dialog, dc);
        RECT size;
        int picture = tb_CreateBitmap(&size, 901, 8);
        // The 8-bit picture as the screen would show it, stretched to the client area.
        int shownCopy = tb_CreateBitmap(&client, TB_SOURCE_BLANK, 24);
        tb_CopyBitmap(picture, shownCopy, &size, &client);
        Channels c = PixelOf(shownCopy, 200, 120);
        expected = RGB(c.r, c.g, c.b);
        tb_DisposeBitmap(shownCopy);
        tb_DisposeBitmap(picture);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    EXPECT_EQ(shell_ShowAbout(), 0);
    int f = GetSystemMetrics(SM_CXFRAME);
    EXPECT_EQ(window.right - window.left, 421 + 2 * f + f / 2);
    EXPECT_EQ(window.bottom - window.top, 244 + 2 * f + f / 2 + GetSystemMetrics(SM_CYCAPTION));
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    EXPECT_EQ(window.left, (desktop.right - (window.right - window.left)) / 2);
    EXPECT_EQ(shown, expected);
}

// Help opens the help file through WinHelp where there is one beside the program, else the help
// page beside the program in the browser, whatever the current folder.
TEST_F(Commands, HelpOpensTheFileBesideTheProgram)
{
    char hlp[MAX_PATH], html[MAX_PATH];
    ASSERT_TRUE(shell_BesideProgram("Help_twk.hlp", hlp, sizeof hlp));
    ASSERT_TRUE(shell_BesideProgram("Help_twk.html", html, sizeof html));
    DeleteFileA(hlp);
    DeleteFileA(html);
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    SetCurrentDirectoryA(temp);

    auto make = [](const char* path) {
        HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        CloseHandle(h);
    };
    // Neither: the grown-up is told.
    shell_DispatchCommand(SHELL_HELP);
    EXPECT_TRUE(g_log.empty());
    ASSERT_EQ(boxes->count(), 1u);
    EXPECT_EQ(boxes->seen()[0].caption, "Attention!");

    make(html);
    shell_DispatchCommand(SHELL_HELP);
    EXPECT_EQ(g_log, (std::vector<std::string>{"browser"}));
    EXPECT_EQ(g_verb, "open");
    EXPECT_EQ(g_openedFile, html);

    make(hlp);
    g_log.clear();
    shell_DispatchCommand(SHELL_HELP);
    EXPECT_EQ(g_log, (std::vector<std::string>{"winhelp"}));
    EXPECT_EQ(g_helpFile, hlp);
    EXPECT_EQ(g_helpCommand, (UINT)HELP_CONTEXT);
    DeleteFileA(hlp);
    DeleteFileA(html);
    // The box was expected: the next script starts counting afresh.
    boxes.reset();
    boxes.reset(new BoxScript);
}

}  // namespace

namespace {

// OK on the preferences screen rewrites the preferences file; cancel leaves it alone.
TEST_F(Commands, PreferencesOkRewritesThePrefsFileAndCancelDoesNot)
{
    char path[MAX_PATH + 16];
    tb_PrefsWindowsPath(path);
    DeleteFileA(path);
    static bool confirm;
    boxes->onDialog([](HWND dialog) {
        // The sound column's bottom cell (52, 155)-(116, 219), then OK or cancel.
        SendMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(84, 187));
        SendMessageA(dialog, WM_LBUTTONUP, 0, MAKELPARAM(84, 187));
        int x = confirm ? 300 : 340;
        PostMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 250));
        PostMessageA(dialog, WM_LBUTTONUP, 0, MAKELPARAM(x, 250));
        return true;
    });
    confirm = false;
    shell_DispatchCommand(SHELL_PREFERENCES);
    EXPECT_EQ(GetFileAttributesA(path), INVALID_FILE_ATTRIBUTES) << "cancel wrote the file";
    EXPECT_EQ(tb_GetSoundPreference(), 1);
    confirm = true;
    shell_DispatchCommand(SHELL_PREFERENCES);
    EXPECT_EQ(tb_GetSoundPreference(), 0);
    HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    INT32 values[5] = {9, 9, 9, 9, 9};
    DWORD got = 0;
    ReadFile(h, values, sizeof values, &got, nullptr);
    CloseHandle(h);
    DeleteFileA(path);
    EXPECT_EQ(got, 16u);
    EXPECT_EQ(values[0], 0);
    EXPECT_EQ(values[1], 1);
}

}  // namespace
