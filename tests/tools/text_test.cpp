// The text tool: the dialog driven as a child would (family list, style and size items, OK, the
// cancel area, Escape, the 255-character limit), the placing into the picture and the preview on
// the window, and styled text onto bitmaps, windows and the printer surface.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "../scene/scene_window.h"
#include "boxes.h"
#include "scene/scene.h"
#include "scene/scene_routing.h"
#include "toolbox.h"
#include "tools/text.h"

namespace {

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
void Click(HWND dialog, POINT p) { PostMessageA(dialog, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y)); }

std::string SelectedFamily(HWND dialog)
{
    HWND list = GetDlgItem(dialog, TEXT_LIST_ID);
    LRESULT i = SendMessageA(list, LB_GETCURSEL, 0, 0);
    char name[128] = {};
    if (i != LB_ERR) SendMessageA(list, LB_GETTEXT, (WPARAM)i, (LPARAM)name);
    return name;
}

class TextToolTest : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        StartAt(800, 600);
        ShowWindow(tb_GetWindowHandle(SceneTestWindow()), SW_SHOW);
        text_ResetSettings();
    }
    void TearDown() override
    {
        text_ResetSettings();
        SceneTest::TearDown();
    }
    void WithFace(const char* face)
    {
        TextSettings s = text_Settings();
        strcpy(s.face, face);
        text_SetSettings(&s);
    }
    // Runs the dialog with a handler that acts once its loop runs.
    int Run(std::function<void(HWND)> act)
    {
        boxes->onDialog([act](HWND dialog) {
            act(dialog);
            return true;
        });
        return text_RunDialog();
    }
};

// ---------------------------------------------------------------- the dialog

TEST_F(TextToolTest, FamilyListSelectsTheFirstFamilyBeginningWithTheFace)
{
    struct Case {
        const char* face;
        const char* expected;  // the selection begins with this; nullptr: entry 0
        bool exact;
    } cases[] = {
        {"Liberation Serif", "Liberation Serif", true},
        {"Liberation", "Liberation ", false},  // no family of that name: the first "Liberation ..."
        {"DejaVu Sans M", "DejaVu Sans Mono", true},
        {"No Such Family Anywhere", nullptr, false},
    };
    for (const Case& c : cases) {
        WithFace(c.face);
        std::string selected, first;
        int duplicates = 0;
        int result = Run([&](HWND dialog) {
            selected = SelectedFamily(dialog);
            HWND list = GetDlgItem(dialog, TEXT_LIST_ID);
            char name[128] = {};
            SendMessageA(list, LB_GETTEXT, 0, (LPARAM)name);
            first = name;
            int n = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
            for (int i = 1; i < n; ++i) {
                char a[128] = {}, b[128] = {};
                SendMessageA(list, LB_GETTEXT, i - 1, (LPARAM)a);
                SendMessageA(list, LB_GETTEXT, i, (LPARAM)b);
                duplicates += lstrcmpiA(a, b) == 0;
            }
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        EXPECT_EQ(result, 0);
        EXPECT_EQ(duplicates, 0) << "every family once";
        if (!c.expected) {
            EXPECT_EQ(selected, first) << c.face;
        } else if (c.exact) {
            EXPECT_EQ(selected, c.expected) << c.face;
        } else {
            EXPECT_EQ(selected.rfind(c.expected, 0), 0u) << c.face << " selected " << selected;
        }
    }
}

TEST_F(TextToolTest, OkChangesTheSettingsCancelAndEscapeDoNot)
{
    const TextSettings initial = text_Settings();
    enum Ending { OK_AREA, CANCEL_AREA, ESCAPE };
    struct Case {
        const char* what;
        bool change;
        Ending ending;
        int result;
    } cases[] = {{"cancel area", true, CANCEL_AREA, -1}, {"Escape", true, ESCAPE, 0},
                 {"OK without changes", false, OK_AREA, 1}, {"OK", true, OK_AREA, 1}};
    for (const Case& c : cases) {
        int result = Run([&](HWND dialog) {
            if (c.change) {
                Click(dialog, Centre(textStyleItems[1]));  // bold
                Click(dialog, Centre(textSizeItems[4]));   // 80 pixels
                SetDlgItemTextA(dialog, TEXT_EDIT_ID, "Changed");
                HWND list = GetDlgItem(dialog, TEXT_LIST_ID);
                int i = (int)SendMessageA(list, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM) "Liberation Serif");
                SendMessageA(list, LB_SETCURSEL, i, 0);
                PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(TEXT_LIST_ID, LBN_SELCHANGE), (LPARAM)list);
            }
            if (c.ending == ESCAPE)
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            else
                Click(dialog, Centre(c.ending == OK_AREA ? textOkArea : textCancelArea));
        });
        EXPECT_EQ(result, c.result) << c.what;
        TextSettings now = text_Settings();
        const bool changed = c.change && c.ending == OK_AREA;
        EXPECT_STREQ(now.text, changed ? "Changed" : initial.text) << c.what;
        EXPECT_STREQ(now.face, changed ? "Liberation Serif" : initial.face) << c.what;
        EXPECT_EQ(now.style, changed ? 1 : initial.style) << c.what;
        EXPECT_EQ(now.sizeIndex, changed ? 4 : initial.sizeIndex) << c.what;
    }
    // After OK the text was measured at its new size.
    EXPECT_GT(text_Measured().cx, 100);
    EXPECT_GE(text_Measured().cy, 80);
    // The room's service answers "confirmed" only for OK.
    boxes->onDialog([](HWND dialog) {
        Click(dialog, Centre(textCancelArea));
        return true;
    });
    EXPECT_EQ(text_Dialog(), 0);
}

TEST_F(TextToolTest, TextIsKeptToTheFirst255Characters)
{
    std::string typed;
    for (int i = 0; i < 300; ++i) typed += char('a' + i % 26);
    int limit = 0;
    int result = Run([&](HWND dialog) {
        limit = (int)SendDlgItemMessageA(dialog, TEXT_EDIT_ID, EM_GETLIMITTEXT, 0, 0);
        SetDlgItemTextA(dialog, TEXT_EDIT_ID, typed.c_str());
        Click(dialog, Centre(textOkArea));
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(limit, 255) << "typing stops at 255";
    EXPECT_EQ(std::string(text_Settings().text), typed.substr(0, 255));
}

// ---------------------------------------------------------------- placing and the preview

// The box of the picture's pixels that are not white.
RECT Ink(int bitmap, const RECT& within)
{
    RECT box = {100000, 100000, -1, -1};
    for (int y = within.top; y < within.bottom; ++y)
        for (int x = within.left; x < within.right; ++x) {
            if (PixelOf(bitmap, x, y) == Channels{255, 255, 255}) continue;
            box.left = std::min<LONG>(box.left, x);
            box.top = std::min<LONG>(box.top, y);
            box.right = std::max<LONG>(box.right, x + 1);
            box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    return box;
}

TEST_F(TextToolTest, PlacedTextIsCentredWithItsBottomOnThePointAndClippedToThePicture)
{
    TextSettings s = text_Settings();
    strcpy(s.text, "HHHH");
    s.sizeIndex = 2;  // 40 pixels
    text_SetSettings(&s);
    const RECT picture = scene.layout.picture;

    text_Place(300, 200);
    RECT ink = Ink(scene.canvasBitmap, picture);
    EXPECT_NEAR((ink.left + ink.right) / 2, 300, 3);
    EXPECT_LE(ink.bottom, 201);
    EXPECT_GE(ink.bottom, 190);
    EXPECT_GE(ink.top, 160);
    int red = 0;
    for (int y = ink.top; y < ink.bottom; ++y)
        for (int x = ink.left; x < ink.right; ++x) {
            Channels c = PixelOf(scene.canvasBitmap, x, y);
            red += c == Channels{255, 0, 0};
        }
    EXPECT_GT(red, 200) << "in the current colour";

    // At the picture's left edge half of the text is cut off, not moved.
    tb_SetForeColor(scene.canvasBitmap, 65025, 65025, 65025);
    tb_PaintRect(scene.canvasBitmap, &picture);
    text_Place(2, 100);
    ink = Ink(scene.canvasBitmap, picture);
    EXPECT_LT(ink.left, 10);
    EXPECT_LT(ink.right, 2 + 70) << "cut off, not moved into the picture";
}

// A click with the text waiting prints it; the window then shows the picture at every pixel of
// the canvas (the refresh covers where the text went), plain, bold or italic, small or large,
// magnified or not, and at the picture's edges.
TEST_F(TextToolTest, ThePlacedTextIsShownWhereverItWent)
{
    const struct {
        const char* text;
        int style, sizeIndex, zoomed, x, y;
    } cases[] = {{"Hello there", 0, 2, 0, 400, 300},     {"WWWWWWWWWWWWWWWWWWWW", 1, 4, 0, 300, 200},
                 {"fjgyqp ITALIC fff", 2, 4, 0, 500, 450}, {"Hi!", 1, 3, 1, 420, 260},
                 {"Edge of it", 2, 3, 0, 150, 40},        {"Corner", 0, 4, 1, 770, 480}};
    const SceneLayout& L = scene.layout;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        tb_SetForeColor(scene.canvasBitmap, 65025, 65025, 65025);
        tb_PaintRect(scene.canvasBitmap, &L.picture);
        scene.zoomed = c.zoomed;
        scene.scroll = {L.canvasWidth / 4, L.canvasHeight / 4};
        scene_ShowAll();
        TextSettings s = text_Settings();
        strcpy(s.text, c.text);
        s.style = c.style;
        s.sizeIndex = c.sizeIndex;
        text_SetSettings(&s);
        routing.textPending = 1;
        scene_ReleaseHandler(SceneTestWindow(), c.x, c.y);
        EXPECT_EQ(routing.textPending, 0);
        std::vector<uint32_t> window = GrabWindow(L.width, L.height);
        std::vector<uint32_t> picture = GrabPixels(tb_GetBitmapDC(scene.canvasBitmap), L.canvasWidth, L.canvasHeight);
        int wrong = 0, ink = 0;
        for (int y = L.canvas.top; y < L.canvas.bottom; ++y)
            for (int x = L.canvas.left; x < L.canvas.right; ++x) {
                ScenePoint p = scene_ToPicture(x, y);
                uint32_t shown = window[size_t(y) * L.width + x];
                wrong += shown != picture[size_t(p.y) * L.canvasWidth + p.x];
                ink += shown != 0xffffff;
            }
        EXPECT_EQ(wrong, 0);
        EXPECT_GT(ink, 20);
    }
    scene.zoomed = 0;
}

TEST_F(TextToolTest, PreviewIsTwiceAsHighWhileMagnifiedAndClippedToTheCanvas)
{
    TextSettings s = text_Settings();
    strcpy(s.text, "I");
    s.sizeIndex = 3;  // 60 pixels
    text_SetSettings(&s);
    // The rows of the window column band around x that hold ink.
    auto inkRows = [](int x, int top, int bottom) {
        int rows = 0;
        for (int y = top; y < bottom; ++y) {
            bool ink = false;
            for (int dx = -4; dx <= 4 && !ink; ++dx) ink = !(WindowPixel(x + dx, y) == Channels{255, 255, 255});
            rows += ink;
        }
        return rows;
    };
    text_Preview(400, 300);
    const int plain = inkRows(400, 150, 310);
    scene.zoomed = 1;
    scene_Refresh(&scene.layout.canvas);
    text_Preview(400, 300);
    const int magnified = inkRows(400, 150, 310);
    scene.zoomed = 0;
    EXPECT_GT(plain, 30);
    EXPECT_NEAR(magnified, 2 * plain, 4);

    // Near the canvas's left edge nothing is drawn over the room beside it.
    scene_Refresh(&scene.layout.canvas);
    strcpy(s.text, "WWWWWWWW");
    text_SetSettings(&s);
    Channels room[5];
    for (int i = 0; i < 5; ++i) room[i] = WindowPixel(120 + 5 * i, 280);
    text_Preview(150, 300);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(WindowPixel(120 + 5 * i, 280), room[i]) << 120 + 5 * i;
    int inside = 0;
    for (int x = 147; x < 200; ++x) inside += !(WindowPixel(x, 280) == Channels{255, 255, 255});
    EXPECT_GT(inside, 0);
}

// ---------------------------------------------------------------- the toolbox's styled text

TEST_F(TextToolTest, StyledTextReachesBitmapsWindowsAndThePrinter)
{
    RECT r = {0, 0, 200, 100};
    int bitmap = tb_CreateBitmap(&r, TB_SOURCE_BLANK, 24);
    HDC screen = GetDC(nullptr);
    HDC printer = CreateCompatibleDC(screen);
    HBITMAP page = CreateCompatibleBitmap(screen, 200, 100);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(printer, page);
    PatBlt(printer, 0, 0, 200, 100, WHITENESS);
    tb_SetPrinterDC(printer);
    tb_SetForeColor(bitmap, 65025, 65025, 65025);
    tb_PaintRect(bitmap, &r);

    struct Case {
        const char* what;
        int target;
        int x, y;
        std::function<Channels(int, int)> pixel;
    } cases[] = {
        {"bitmap", bitmap, 100, 80, [&](int x, int y) { return PixelOf(bitmap, x, y); }},
        {"window", scene.mainWindow, 400, 300, [](int x, int y) { return WindowPixel(x, y); }},
        {"printer", TB_PRINTER, 100, 80,
         [&](int x, int y) {
             COLORREF c = GetPixel(printer, x, y);
             return Channels{GetRValue(c), GetGValue(c), GetBValue(c)};
         }},
    };
    for (const Case& c : cases) {
        SIZE size = tb_DrawText(c.target, c.x, c.y, "HHH", 3, "Liberation Sans", 40, 1, 0, 0, 65025, 0.0, nullptr);
        EXPECT_GT(size.cx, 60) << c.what;
        EXPECT_GE(size.cy, 40) << c.what;
        int blue = 0;
        for (int y = c.y - 30; y < c.y; y += 2)
            for (int x = c.x - 40; x < c.x + 40; x += 2) blue += c.pixel(x, y) == Channels{0, 0, 255};
        EXPECT_GT(blue, 50) << c.what;
    }
    // A clip keeps the text inside it; an unknown target draws nothing and measures nothing.
    tb_PaintRect(bitmap, &r);
    RECT clip = {100, 0, 200, 100};
    tb_DrawText(bitmap, 100, 80, "HHH", 3, "Liberation Sans", 40, 0, 0, 0, 65025, 0.0, &clip);
    EXPECT_EQ(Ink(bitmap, r).left, 100);
    SIZE none = tb_DrawText(77, 0, 0, "HHH", 3, "Liberation Sans", 40, 0, 0, 0, 0, 0.0, nullptr);
    EXPECT_EQ(none.cx, 0);

    tb_SetPrinterDC(nullptr);
    SelectObject(printer, old);
    DeleteObject(page);
    DeleteDC(printer);
    tb_DisposeBitmap(bitmap);
}

}  // namespace
