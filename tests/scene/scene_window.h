// A main window for scene tests: one borderless window per test process, sized per test, and the
// scene started on it. Every message box the scene would open is answered and counted.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "boxes.h"
#include "scene/scene.h"
#include "toolbox.h"
#include "tools/effects.h"

inline LRESULT CALLBACK SceneTestWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// The window index, opened on first use.
inline int SceneTestWindow()
{
    static int index = -1;
    if (index < 0) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = SceneTestWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "SceneTestWindow";
        // No class cursor: the pointer passing over this window (moved by a test running beside
        // this one) must not put back an arrow over the cursor the scene chose.
        wc.hCursor = nullptr;
        RegisterClassA(&wc);
        tb_SetClassName("SceneTestWindow");
        RECT r = {0, 0, 640, 480};
        index = tb_OpenWindow(&r, "Tintwell", GetModuleHandleA(nullptr));
    }
    return index;
}

inline void ResizeSceneTestWindow(int width, int height)
{
    SetWindowPos(tb_GetWindowHandle(SceneTestWindow()), nullptr, 0, 0, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// The sounds the scene asked for, in order, from ListenToSounds() until the observer is taken away
// again with tb_SetSoundObserver(nullptr).
inline std::vector<std::pair<TB_SoundKind, int>>& SoundsHeard()
{
    static std::vector<std::pair<TB_SoundKind, int>> heard;
    return heard;
}

inline void RecordSoundHeard(TB_SoundKind kind, int id) { SoundsHeard().push_back({kind, id}); }

inline void ListenToSounds()
{
    SoundsHeard().clear();
    tb_SetSoundObserver(RecordSoundHeard);
}

struct Channels {
    int r, g, b;
    bool operator==(const Channels& o) const { return r == o.r && g == o.g && b == o.b; }
};

inline std::ostream& operator<<(std::ostream& os, const Channels& c)
{
    return os << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

inline Channels PixelOf(int bitmap, int x, int y)
{
    long r, g, b;
    tb_GetPixelRGB(bitmap, x, y, &r, &g, &b);
    return {int(r / 255), int(g / 255), int(b / 255)};
}

// Every pixel of a surface's top-left w x h corner at once, as 0x00RRGGBB, rows top first.
inline std::vector<uint32_t> GrabPixels(HDC from, int w, int h)
{
    std::vector<uint32_t> pixels;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(from);
    HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (section && bits) {
        HGDIOBJ old = SelectObject(dc, section);
        BitBlt(dc, 0, 0, w, h, from, 0, 0, SRCCOPY);
        GdiFlush();
        const uint32_t* p = static_cast<const uint32_t*>(bits);
        pixels.assign(p, p + size_t(w) * h);
        for (uint32_t& v : pixels) v &= 0xffffff;
        SelectObject(dc, old);
    }
    if (section) DeleteObject(section);
    DeleteDC(dc);
    return pixels;
}

// The window's client area, w x h from its corner.
inline std::vector<uint32_t> GrabWindow(int w, int h)
{
    HWND hwnd = tb_GetWindowHandle(SceneTestWindow());
    HDC dc = GetDC(hwnd);
    std::vector<uint32_t> pixels = GrabPixels(dc, w, h);
    ReleaseDC(hwnd, dc);
    return pixels;
}

// What the window shows at a client point.
inline Channels WindowPixel(int x, int y)
{
    HWND hwnd = tb_GetWindowHandle(SceneTestWindow());
    HDC dc = GetDC(hwnd);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

inline int BitmapSlotsInUse()
{
    int n = 0;
    for (int i = 0; i < TB_MAX_BITMAPS; ++i)
        if (tb_GetBitmapDIB(i)) ++n;
    return n;
}

inline bool HasPicture(int id)
{
    return FindResourceA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), (LPCSTR)RT_BITMAP) != nullptr;
}

// Starts the scene at a window size and shuts it down after the test.
class SceneTest : public testing::Test {
protected:
    void StartAt(int width, int height)
    {
        ResizeSceneTestWindow(width, height);
        scene_Startup(SceneTestWindow());
        started = true;
    }
    void SetUp() override
    {
        boxes.reset(new BoxScript);
        tb_SetSoundPreference(1);
    }
    void TearDown() override
    {
        if (started) scene_Shutdown();
        EXPECT_EQ(boxes->count(), 0u) << "last box: " << boxes->lastText();
        boxes.reset();
    }
    int H() const { return scene.layout.height; }

    std::unique_ptr<BoxScript> boxes;
    bool started = false;
};
