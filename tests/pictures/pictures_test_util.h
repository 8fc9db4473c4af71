// The room on a test window with a gallery folder of the test's own, and helpers to make picture
// files, answer the file dialogs and look at the canvas.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "boxes.h"
#include "pictures/picture_files.h"
#include "pictures/recovery.h"
#include "test_files.h"
#include "tests/scene/scene_window.h"

namespace pictest {

// Controls of the common file dialogs.
const int kFileNameEdit = 0x480;   // edt1
const int kFileNameCombo = 0x47c;  // cmb13
const int kTypeCombo = 0x470;      // cmb1

inline std::string TempFolder(const char* name)
{
    std::string path = TempFile(name) + "\\";
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

inline void RemoveFolder(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveFolder(folder + name + "\\");
            } else {
                SetFileAttributesA((folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA((folder + name).c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

inline std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// A 24-bit BMP of one colour (bottom-up, 40-byte header).
inline std::vector<BYTE> SolidBmp(int w, int h, BYTE r, BYTE g, BYTE b)
{
    int stride = (w * 3 + 3) & ~3;
    std::vector<BYTE> f(54 + (size_t)stride * h, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) f[at + i] = (BYTE)(v >> (8 * i));
    };
    f[0] = 'B';
    f[1] = 'M';
    put32(2, (uint32_t)f.size());
    put32(10, 54);
    put32(14, 40);
    put32(18, (uint32_t)w);
    put32(22, (uint32_t)h);
    f[26] = 1;
    f[28] = 24;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            BYTE* p = &f[54 + (size_t)y * stride + 3 * x];
            p[0] = b;
            p[1] = g;
            p[2] = r;
        }
    return f;
}

// Answers the next file dialog by typing path ("*keep*": the name offered) and pressing OK (or
// Cancel for ""), with type entry `type` chosen first unless it is -1; records its title and the
// name it offered.
inline void AnswerFileDialog(BoxScript& boxes, std::string* title, const std::string& path, int type = -1,
                             std::string* offered = nullptr)
{
    boxes.onDialog([title, path, type, offered](HWND dialog) {
        char text[256] = {};
        GetWindowTextA(dialog, text, sizeof text);
        if (lstrcmpA(text, "Save As") != 0 && lstrcmpA(text, "Open") != 0) return false;
        if (title) *title = text;
        int nameId = GetDlgItem(dialog, kFileNameCombo) ? kFileNameCombo : kFileNameEdit;
        if (offered) {
            char name[MAX_PATH] = {};
            GetDlgItemTextA(dialog, nameId, name, sizeof name);
            *offered = name;
        }
        if (type >= 0) {
            HWND types = GetDlgItem(dialog, kTypeCombo);
            SendMessageA(types, CB_SETCURSEL, type, 0);
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kTypeCombo, CBN_SELCHANGE), (LPARAM)types);
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kTypeCombo, CBN_SELENDOK), (LPARAM)types);
        }
        if (path.empty()) {
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)GetDlgItem(dialog, IDCANCEL));
        } else {
            if (path != "*keep*") SetDlgItemTextA(dialog, nameId, path.c_str());
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(dialog, IDOK));
        }
        return true;
    });
}

#ifdef TINTWELL_FOREIGN_BMPS
// How many of the looked-at pixels of area on bitmap differ by more than tolerance from the picture
// t placed there, centred at its own size on white or stretched over the area: its corners and
// middle (which tell every turn and flip apart) and, centred, the paper just beside it.
inline int PlacedDifferences(int bitmap, const RECT& area, const ForeignTruth& t, bool scaled, int tolerance)
{
    const int W = area.right - area.left, H = area.bottom - area.top, left = W / 2 - t.w / 2, top = H / 2 - t.h / 2;
    const BYTE white[3] = {255, 255, 255};
    int wrong = 0;
    auto expect = [&](int x, int y, const BYTE* want) {
        Channels got = PixelOf(bitmap, area.left + x, area.top + y);
        if (abs(got.r - want[0]) > tolerance || abs(got.g - want[1]) > tolerance || abs(got.b - want[2]) > tolerance)
            ADD_FAILURE() << "at " << x << "," << y << ": " << got << " instead of (" << int(want[0]) << ", "
                          << int(want[1]) << ", " << int(want[2]) << ")" << (++wrong, "");
    };
    for (POINT p : {POINT{0, 0}, POINT{t.w - 1, 0}, POINT{0, t.h - 1}, POINT{t.w - 1, t.h - 1}, POINT{t.w / 2, t.h / 2}})
        expect(scaled ? (2 * p.x + 1) * W / (2 * t.w) : left + p.x, scaled ? (2 * p.y + 1) * H / (2 * t.h) : top + p.y,
               t.At(p.x, p.y));
    if (!scaled) expect(left - 1, top, white), expect(left + t.w, top + t.h - 1, white);
    return wrong;
}
#endif

inline void FillCanvas(BYTE r, BYTE g, BYTE b)
{
    tb_SetForeColor(scene.canvasBitmap, r * 255L, g * 255L, b * 255L);
    tb_PaintRect(scene.canvasBitmap, &scene.layout.picture);
}

}  // namespace pictest

// The room at 800 x 600 with every box answered and a gallery of the test's own as browse folder.
class PicturesTest : public testing::Test {
protected:
    void SetUp() override
    {
        boxes.reset(new BoxScript);
        tb_SetSoundPreference(0);
        ResizeSceneTestWindow(800, 600);
        scene_Startup(SceneTestWindow());
        const std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
        folder = pictest::TempFolder(name.c_str());
        lstrcpynA(scene.browseFolder, folder.c_str(), sizeof scene.browseFolder);
        gallery.position = 0;
        savedPrefs = picturePreferences;
        // The recovery copy in a folder of the test's own, never the user's.
        savedRecovery = recovery;
        recoveryFolder = pictest::TempFolder((name + "_recovery").c_str());
        lstrcpynA(recovery.folder, recoveryFolder.c_str(), sizeof recovery.folder);
    }
    void TearDown() override
    {
        recovery_Remove();
        recovery = savedRecovery;
        picturePreferences = savedPrefs;
        scene_Shutdown();
        boxes.reset();
        pictest::RemoveFolder(folder);
        pictest::RemoveFolder(recoveryFolder);
    }
    int W() const { return scene.layout.canvasWidth; }
    int H() const { return scene.layout.canvasHeight; }

    std::unique_ptr<BoxScript> boxes;
    std::string folder, recoveryFolder;
    PicturePreferences savedPrefs;
    Recovery savedRecovery;
};
