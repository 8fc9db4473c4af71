// The preferences file as start-up reads it and the program writes it: its 16-byte layout, every
// rule of loading (missing, unreadable, short, long and random files), the speaker and the
// preferences screen writing it, and its second home for users who cannot write the Windows folder.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "../scene/scene_window.h"
#include "boxes.h"
#include "pictures/policy.h"
#include "pictures/preferences.h"
#include "scene/scene_routing.h"
#include "shell/shell.h"
#include "toolbox.h"

namespace {

std::string WindowsPlace()
{
    char path[MAX_PATH + 16];
    tb_PrefsWindowsPath(path);
    return path;
}
std::string UserPlace()
{
    char path[MAX_PATH + 16];
    tb_PrefsUserPath(path);
    return path;
}

std::vector<BYTE> Contents(const std::string& path)
{
    std::vector<BYTE> bytes;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return bytes;
    BYTE buffer[256];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got) bytes.insert(bytes.end(), buffer, buffer + got);
    CloseHandle(h);
    return bytes;
}

void Write(const std::string& path, const std::vector<BYTE>& bytes)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    if (!bytes.empty()) WriteFile(h, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    CloseHandle(h);
}

std::vector<BYTE> Values(std::vector<INT32> values)
{
    std::vector<BYTE> bytes;
    for (INT32 v : values)
        for (int i = 0; i < 4; ++i) bytes.push_back(BYTE(DWORD(v) >> (8 * i)));
    return bytes;
}

struct Loaded {
    int sound, stretch, animation, light;
    bool operator==(const Loaded& o) const
    {
        return sound == o.sound && stretch == o.stretch && animation == o.animation && light == o.light;
    }
};
std::ostream& operator<<(std::ostream& os, const Loaded& l)
{
    return os << l.sound << ", " << l.stretch << ", " << l.animation << ", " << l.light;
}

Loaded StartUp()
{
    // Whatever an earlier run left in memory: start-up sets the defaults first.
    tb_SetSoundPreference(0);
    preferences = {0, 0, 0};
    shell_LoadPreferences();
    return {tb_GetSoundPreference(), preferences.stretchPictures, preferences.animation, preferences.lightPrint};
}

class Prefs : public testing::Test {
protected:
    void SetUp() override
    {
        windowsPlace = WindowsPlace();
        userPlace = UserPlace();
        Forget();
    }
    void TearDown() override { Forget(); }
    void Forget()
    {
        SetFileAttributesA(windowsPlace.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(windowsPlace.c_str());
        RemoveDirectoryA(windowsPlace.c_str());
        if (!userPlace.empty()) DeleteFileA(userPlace.c_str());
    }
    std::string windowsPlace, userPlace;
};

TEST_F(Prefs, FirstStartCreatesTheFileWithTheDefaults)
{
    EXPECT_EQ(StartUp(), (Loaded{1, 1, 1, 1}));
    EXPECT_EQ(Contents(windowsPlace), Values({1, 1, 1, 1}));
}

TEST_F(Prefs, SavedValuesComeBackInTheirOrder)
{
    Write(windowsPlace, Values({0, 1, 0, 1}));
    // Sound and the clearing animation off; stretching and light printing on.
    EXPECT_EQ(StartUp(), (Loaded{0, 1, 0, 1}));
    tb_SetSoundPreference(1);
    preferences = {0, 7, -3};
    prefs_Save();
    EXPECT_EQ(Contents(windowsPlace), Values({1, 0, 7, -3}));
    // Any value but 0 is on; values are kept as they are.
    EXPECT_EQ(StartUp(), (Loaded{1, 0, 7, -3}));
}

// Files of every length from 0 to 32 bytes, with random content: start-up never fails, each value
// the file holds whole is taken, a value cut short is read over the default's bytes, and values
// beyond the end keep their defaults. Nothing but a missing or unreadable file is rewritten.
TEST_F(Prefs, FilesOfEveryLengthFollowTheLoadingRules)
{
    std::mt19937 random(20261208);
    for (int length = 0; length <= 32; ++length) {
        for (int round = 0; round < 3; ++round) {
            std::vector<BYTE> bytes(length);
            for (BYTE& b : bytes) b = BYTE(round == 2 ? 0 : random());
            Write(windowsPlace, bytes);
            INT32 expected[4];
            for (int v = 0; v < 4; ++v) {
                BYTE word[4] = {1, 0, 0, 0};  // the default, 1, little-endian
                for (int i = 0; i < 4; ++i)
                    if (4 * v + i < length) word[i] = bytes[4 * v + i];
                expected[v] = INT32(word[0] | word[1] << 8 | word[2] << 16 | DWORD(word[3]) << 24);
            }
            Loaded got = StartUp();
            EXPECT_EQ(got, (Loaded{expected[0], expected[1], expected[2], expected[3]})) << "length " << length;
            EXPECT_EQ(Contents(windowsPlace), bytes) << "the file is left as it was, length " << length;
        }
    }
}

TEST_F(Prefs, AnUnreadableFileFallsBackToTheDefaults)
{
    Write(windowsPlace, Values({0, 0, 0, 0}));
    // Another program holds the file: it can be neither read nor written.
    HANDLE held = CreateFileA(windowsPlace.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(StartUp(), (Loaded{1, 1, 1, 1}));
    CloseHandle(held);
    // The write-back failed silently; the next save writes the defaults.
    EXPECT_EQ(Contents(windowsPlace), Values({0, 0, 0, 0}));
    prefs_Save();
    EXPECT_EQ(Contents(windowsPlace), Values({1, 1, 1, 1}));
}

// A user who cannot write the Windows folder keeps the file in the program's own folder of the
// application data, and finds it there at the next start.
TEST_F(Prefs, AUserWhoCannotWriteTheWindowsFolderKeepsTheFileInTheApplicationData)
{
    ASSERT_FALSE(userPlace.empty());
    EXPECT_NE(userPlace.find("\\Tintwell\\qlnpfs.pfs"), std::string::npos) << userPlace;
    // Nothing can be written under the file's name in the Windows folder (a folder of that name
    // stands for the missing right, which this test's user cannot be denied otherwise).
    ASSERT_TRUE(CreateDirectoryA(windowsPlace.c_str(), nullptr));
    EXPECT_EQ(StartUp(), (Loaded{1, 1, 1, 1}));
    EXPECT_EQ(Contents(userPlace), Values({1, 1, 1, 1})) << "the defaults written where they will be found";
    tb_SetSoundPreference(0);
    preferences.lightPrint = 0;
    prefs_Save();
    EXPECT_EQ(Contents(userPlace), Values({0, 1, 1, 0}));
    EXPECT_EQ(StartUp(), (Loaded{0, 1, 1, 0}));
    // With the Windows folder writable again, its file is the one used.
    RemoveDirectoryA(windowsPlace.c_str());
    Write(windowsPlace, Values({1, 0, 0, 1}));
    EXPECT_EQ(StartUp(), (Loaded{1, 0, 0, 1}));
}

// Preferences a grown-up fixed are the ones in use; the file keeps the child's own values (whatever
// they were) through every save, and they come back once the grown-up's setting goes.
TEST_F(Prefs, AGrownUpsPreferencesAreUsedAndTheChildsStayInTheFile)
{
    Write(windowsPlace, Values({0, 1, 7, 1}));
    policy.preference[POLICY_SOUND] = 1;
    policy.preference[POLICY_ANIMATION] = 0;
    prefs_SetDefaults();
    prefs_Load();
    prefs_UsePolicy();
    EXPECT_EQ((Loaded{tb_GetSoundPreference(), preferences.stretchPictures, preferences.animation,
                      preferences.lightPrint}),
              (Loaded{1, 1, 0, 1}));
    preferences.stretchPictures = 0;  // the child's own choice, free
    prefs_Save();
    policy = policy_None();
    EXPECT_EQ(Contents(windowsPlace), Values({0, 0, 7, 1}));
    EXPECT_EQ(StartUp(), (Loaded{0, 0, 7, 1}));
}

class SpeakerPrefs : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        path = WindowsPlace();
        DeleteFileA(path.c_str());
        saved = sceneServices;
        sceneServices.writePreferences = prefs_Save;
        preferences = {1, 1, 1};
        StartAt(640, 480);
    }
    void TearDown() override
    {
        sceneServices = saved;
        DeleteFileA(path.c_str());
        SceneTest::TearDown();
    }
    void ClickSpeaker()
    {
        const RECT& s = scene.layout.speaker;
        int x = (s.left + s.right) / 2, y = (s.top + s.bottom) / 2;
        scene_PressHandler(scene.mainWindow, x, y);
        scene_ReleaseHandler(scene.mainWindow, x, y);
    }
    std::string path;
    SceneServices saved;
};

TEST_F(SpeakerPrefs, TheSpeakerRewritesTheFileEachTime)
{
    tb_SetSoundPreference(5);  // on, as any non-zero value
    ClickSpeaker();
    EXPECT_EQ(Contents(path), Values({0, 1, 1, 1}));
    ClickSpeaker();
    EXPECT_EQ(Contents(path), Values({1, 1, 1, 1}));
}

}  // namespace
