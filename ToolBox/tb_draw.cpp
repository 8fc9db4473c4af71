// Drawing state per target, shapes, lines, flood fill and text.
// Brushes, pens, fonts and clip regions are made and deleted within each call.
#include <cstdint>
#include <cstring>
#include <vector>

#include "tb_internal.h"

// ---------------------------------------------------------------- colours and drawing state

int tb_ColorToByte(long value)
{
    if (value <= 65025) return tb_Round(value / 65025.0 * 255.0);
    return tb_Round(value / 65535.0 * 255.0);
}

static COLORREF tb_ConvertColor(long red, long green, long blue)
{
    return RGB(tb_ColorToByte(red), tb_ColorToByte(green), tb_ColorToByte(blue));
}

COLORREF tb_GetForeColor(int target)
{
    TB_DrawState* state = tb_DrawStateOf(target);
    return state ? state->fore : 0;
}

// The state a setter may change, or nullptr after reporting a free bitmap or a closed window.
static TB_DrawState* tb_SettableState(int target, const char* operation)
{
    char text[96];
    if (target < TB_WINDOW_BASE) {
        if (tb_BitmapInUse(target)) return &tb.bitmapDraw[target];
        wsprintfA(text, "Invalid bitmap! (%s)", operation);
        tb_ErrorBox(text);
        return nullptr;
    }
    if (target == TB_PRINTER) return &tb.printerDraw;
    if (tb_WindowInUse(target)) return &tb.windowDraw[target - TB_WINDOW_BASE];
    wsprintfA(text, "Invalid window! (%s)", operation);
    tb_ErrorBox(text);
    return nullptr;
}

void tb_SetForeColor(int target, long red, long green, long blue)
{
    if (TB_DrawState* state = tb_SettableState(target, "tb_SetForeColor")) state->fore = tb_ConvertColor(red, green, blue);
}

void tb_SetBackColor(int target, long red, long green, long blue)
{
    if (TB_DrawState* state = tb_SettableState(target, "tb_SetBackColor")) state->back = tb_ConvertColor(red, green, blue);
}

void tb_SetFont(int target, TB_Face face)
{
    if (TB_DrawState* state = tb_SettableState(target, "tb_SetFont")) state->face = (short)face.value;
}

void tb_SetFont(int target, TB_Size size)
{
    if (TB_DrawState* state = tb_SettableState(target, "tb_SetFont")) state->size = (short)size.value;
}

void tb_SetFont(int target, TB_Style style)
{
    if (TB_DrawState* state = tb_SettableState(target, "tb_SetFont")) state->style = (short)style.value;
}

// The state primitives read; a target without one draws in black with the default font.
static TB_DrawState tb_StateForDrawing(int target)
{
    TB_DrawState* state = tb_DrawStateOf(target);
    if (state) return *state;
    TB_DrawState none = {};
    return none;
}

// ---------------------------------------------------------------- shapes

// Finds the surface of a shape's target, reporting a free bitmap or a missing surface
// under the operation's name. Window surfaces go back through tb_ReleaseSurface.
static HDC tb_ShapeSurface(int target, const char* operation)
{
    char text[96];
    if (target < TB_WINDOW_BASE && !tb_BitmapInUse(target)) {
        wsprintfA(text, "Invalid bitmap! (%s)", operation);
        tb_ErrorBox(text);
        return nullptr;
    }
    HDC dc = tb_AcquireSurface(target);
    if (!dc) {
        wsprintfA(text, "Bitmap does not have a DC! (%s)", operation);
        tb_ErrorBox(text);
    }
    return dc;
}

enum TB_ShapeKind { TB_SHAPE_RECT, TB_SHAPE_ELLIPSE };

// Draws a rectangle or an ellipse with a 1-pixel pen of the foreground colour and either a
// solid brush of that colour or a hollow one.
static void tb_DrawShape(int target, const RECT* rect, TB_ShapeKind kind, bool filled, const char* operation)
{
    HDC dc = tb_ShapeSurface(target, operation);
    if (!dc) return;
    TB_DrawState state = tb_StateForDrawing(target);

    HBRUSH brush;
    if (filled) {
        brush = CreateSolidBrush(state.fore);
    } else {
        LOGBRUSH hollow = {BS_HOLLOW, state.back, 0};
        brush = CreateBrushIndirect(&hollow);
    }
    HPEN pen = CreatePen(PS_SOLID, 1, state.fore);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    if (kind == TB_SHAPE_RECT)
        Rectangle(dc, rect->left, rect->top, rect->right, rect->bottom);
    else
        Ellipse(dc, rect->left, rect->top, rect->right, rect->bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
    tb_ReleaseSurface(target, dc);
}

void tb_PaintRect(int target, const RECT* rect) { tb_DrawShape(target, rect, TB_SHAPE_RECT, true, "tb_PaintRect"); }

void tb_FrameRect(int target, const RECT* rect) { tb_DrawShape(target, rect, TB_SHAPE_RECT, false, "tb_FrameRect"); }

void tb_PaintEllipse(int target, const RECT* rect)
{
    tb_DrawShape(target, rect, TB_SHAPE_ELLIPSE, true, "tb_PaintEllipse");
}

// The ellipse outline reports under the frame's name.
void tb_FrameEllipse(int target, const RECT* rect)
{
    tb_DrawShape(target, rect, TB_SHAPE_ELLIPSE, false, "tb_FrameRect");
}

// Fills with the stock black brush and whatever pen the surface holds.
void tb_Rectangle(int target, const RECT* rect)
{
    HDC dc = tb_ShapeSurface(target, "tb_Rectangle");
    if (!dc) return;
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(BLACK_BRUSH));
    Rectangle(dc, rect->left, rect->top, rect->right, rect->bottom);
    SelectObject(dc, oldBrush);
    tb_ReleaseSurface(target, dc);
}

// Fills the area connected to (x, y) that has the given colour; a fill the platform
// refuses is ignored. Reports under the paint operation's name.
// The fill of a 24-bit bitmap straight in its pixels: the same connected area (4 neighbours, every
// pixel exactly the surface colour, inside the clip rectangle) that the platform's surface fill
// paints, without its cost on large pictures. False when the bitmap has no such pixel store.
static bool tb_FloodFillPixels(int target, int x, int y, COLORREF fore, COLORREF surface, RECT* changed)
{
    if (!tb_IsBitmapIndex(target)) return false;
    TB_DIB* dib = &tb.bitmaps[target].image;
    if (!dib->lpBits || !dib->lpBitmapInfo || grfx_BitCount(dib) != 24) return false;
    RECT area = {0, 0, grfx_Width(dib), grfx_Height(dib)};
    const RECT* clip = tb_ClipOf(target);
    if (clip && !tb_ClipIsNone(*clip) && !IntersectRect(&area, &area, clip)) return true;
    if (x < area.left || x >= area.right || y < area.top || y >= area.bottom) return true;

    GdiFlush();  // the system may still be drawing into the bitmap
    // Eight pixels of the surface colour and of the fill colour as three 8-byte words: long runs
    // are compared and painted eight pixels at a time.
    BYTE surface8[24], fill8[24];
    for (int i = 0; i < 24; i += 3) {
        surface8[i] = GetBValue(surface), surface8[i + 1] = GetGValue(surface), surface8[i + 2] = GetRValue(surface);
        fill8[i] = GetBValue(fore), fill8[i + 1] = GetGValue(fore), fill8[i + 2] = GetRValue(fore);
    }
    uint64_t surfaceWords[3], fillWords[3];
    std::memcpy(surfaceWords, surface8, 24);
    std::memcpy(fillWords, fill8, 24);
    const int left0 = area.left;
    auto row = [dib, left0](int py) { return grfx_GetPixelAddress(dib, left0, py); };
    auto at = [left0](BYTE* r, int px) { return r + 3 * (px - left0); };
    auto matches = [&](const BYTE* p) { return std::memcmp(p, surface8, 3) == 0; };
    auto matches8 = [&](const BYTE* p) {
        uint64_t w[3];
        std::memcpy(w, p, 24);
        return ((w[0] ^ surfaceWords[0]) | (w[1] ^ surfaceWords[1]) | (w[2] ^ surfaceWords[2])) == 0;
    };
    // The first pixel from px on (up to end, exclusive) that is not of the surface colour.
    auto runEnd = [&](BYTE* r, int px, int end) {
        while (px + 8 <= end && matches8(at(r, px))) px += 8;
        while (px < end && matches(at(r, px))) ++px;
        return px;
    };
    // The first pixel of the run of the surface colour that ends at px.
    auto runStart = [&](BYTE* r, int px) {
        while (px - 8 >= area.left && matches8(at(r, px - 8))) px -= 8;
        while (px > area.left && matches(at(r, px - 1))) --px;
        return px;
    };
    if (!matches(at(row(y), x))) return true;
    if (std::memcmp(surface8, fill8, 3) == 0) return true;  // the area has the fill colour already

    // Spans: fill a run of the row, then look for runs to continue in the rows above and below,
    // leaving out the part of the row it came from that its parent run has filled already. A seed
    // knows what its parent's scan saw of its run: where the run starts when the scan saw the
    // pixel before it, and the first pixel past it the scan reached. The run cannot change before
    // the seed is taken (a fill paints whole runs), so only the rest is read again.
    struct Seed {
        int x, y;
        int parentY, parentLeft, parentRight;
        bool startKnown;
        int scanned;  // the first pixel past x not yet seen to be of the surface colour
        bool endKnown;
    };
    std::vector<Seed> seeds;
    seeds.push_back({x, y, -1, 0, -1, false, x, false});
    // Every run of the surface colour that starts in [from, to] of row ny becomes a seed.
    auto scan = [&](BYTE* r, int ny, int from, int to, int y0, int left, int right) {
        int px = from;
        while (px <= to) {
            while (px <= to && !matches(at(r, px))) ++px;
            if (px > to) break;
            int end = runEnd(r, px, to + 1);
            seeds.push_back({px, ny, y0, left, right, px > from, end, end <= to});
            px = end;
        }
    };
    int minX = area.right, maxX = area.left - 1, minY = area.bottom, maxY = area.top - 1;
    while (!seeds.empty()) {
        Seed sd = seeds.back();
        seeds.pop_back();
        BYTE* r = row(sd.y);
        if (!matches(at(r, sd.x))) continue;
        int left = sd.startKnown ? sd.x : runStart(r, sd.x);
        int right = (sd.endKnown ? sd.scanned : runEnd(r, sd.scanned, area.right)) - 1;
        minX = left < minX ? left : minX;
        maxX = right > maxX ? right : maxX;
        minY = sd.y < minY ? sd.y : minY;
        maxY = sd.y > maxY ? sd.y : maxY;
        BYTE* p = at(r, left);
        int n = right - left + 1;
        for (; n >= 8; n -= 8, p += 24) std::memcpy(p, fillWords, 24);
        for (; n > 0; --n, p += 3) std::memcpy(p, fill8, 3);
        for (int ny = sd.y - 1; ny <= sd.y + 1; ny += 2) {
            if (ny < area.top || ny >= area.bottom) continue;
            BYTE* next = row(ny);
            if (ny == sd.parentY) {
                scan(next, ny, left, (sd.parentLeft - 1 < right ? sd.parentLeft - 1 : right), sd.y, left, right);
                scan(next, ny, (sd.parentRight + 1 > left ? sd.parentRight + 1 : left), right, sd.y, left, right);
            } else {
                scan(next, ny, left, right, sd.y, left, right);
            }
        }
    }
    if (maxX >= minX) SetRect(changed, minX, minY, maxX + 1, maxY + 1);
    return true;
}

void tb_FloodFill(int target, int x, int y, long red, long green, long blue)
{
    tb_FloodFillBounded(target, x, y, red, green, blue, nullptr);
}

void tb_FloodFillBounded(int target, int x, int y, long red, long green, long blue, RECT* changed)
{
    RECT ignored;
    if (!changed) changed = &ignored;
    SetRectEmpty(changed);
    HDC dc = tb_ShapeSurface(target, "tb_PaintRect");
    if (!dc) return;
    TB_DrawState state = tb_StateForDrawing(target);
    if (target < TB_WINDOW_BASE &&
        tb_FloodFillPixels(target, x, y, state.fore, tb_ConvertColor(red, green, blue), changed)) {
        tb_ReleaseSurface(target, dc);
        return;
    }
    // The system's fill says nothing of where it painted: anywhere on the surface, within its clip.
    if (!GetClipBox(dc, changed) || IsRectEmpty(changed)) SetRect(changed, -32768, -32768, 32767, 32767);
    HBRUSH brush = CreateSolidBrush(state.fore);
    HPEN pen = CreatePen(PS_SOLID, 1, state.fore);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    ExtFloodFill(dc, x, y, tb_ConvertColor(red, green, blue), FLOODFILLSURFACE);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
    tb_ReleaseSurface(target, dc);
}

// ---------------------------------------------------------------- lines

// A solid line of the given width in the foreground colour, limited to the target's clip
// rectangle. The clip region stays selected in a bitmap's surface until the next clip.
void tb_Line(int target, int x1, int y1, int x2, int y2, int width)
{
    if (target < TB_WINDOW_BASE && !tb_BitmapInUse(target)) {
        tb_ErrorBox("Invalid bitmap! (tb_Line)");
        return;
    }
    HDC dc = tb_AcquireSurface(target);
    if (!dc) return;
    TB_DrawState state = tb_StateForDrawing(target);

    HBRUSH brush = CreateSolidBrush(state.fore);
    HPEN pen = CreatePen(PS_SOLID, width, state.fore);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);

    const RECT* clip = target == TB_PRINTER ? nullptr : tb_ClipOf(target);
    if (clip && !tb_ClipIsNone(*clip)) {
        HRGN region = CreateRectRgn(clip->left, clip->top, clip->right, clip->bottom);
        SelectClipRgn(dc, region);
        DeleteObject(region);
    }
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);

    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
    tb_ReleaseSurface(target, dc);
}

// ---------------------------------------------------------------- text

struct TB_FaceEntry {
    const char* name;
    BYTE family;
};

static const TB_FaceEntry tb_faces[] = {
    {"Arial", 48},       {"Courier New", 48},     {"MS San Serif", 32},
    {"MS Serif", 16},    {"Brush Script MT", 64}, {"Times New Roman", 16},
};

static TB_FaceEntry tb_FaceOf(int index)
{
    if (index >= 0 && index < (int)(sizeof tb_faces / sizeof tb_faces[0])) return tb_faces[index];
    return tb_faces[0];
}

// "MS Serif" at a character height of size pixels, everything else left to the font mapper.
static HFONT tb_SerifFont(int size) { return CreateFontA(-size, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "MS Serif"); }

int tb_GetTextWidth(int target, const char* text)
{
    HDC dc = tb_AcquireSurface(target);
    if (!dc) return 0;
    HFONT font = tb_SerifFont(tb_StateForDrawing(target).size);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SIZE extent = {0, 0};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &extent);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    tb_ReleaseSurface(target, dc);
    return extent.cx;
}

// Draws with the bottom of the text at y, transparently, in the foreground colour.
void tb_DrawString(int target, int x, int y, const char* text, int length, int size)
{
    HDC dc = tb_AcquireSurface(target);
    if (!dc) return;
    TB_DrawState state = tb_StateForDrawing(target);
    SetTextColor(dc, state.fore);
    SetBkColor(dc, state.back);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_BOTTOM);
    HFONT font = tb_SerifFont(size);
    HGDIOBJ oldFont = SelectObject(dc, font);
    TextOutA(dc, x, y, text, length);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    tb_ReleaseSurface(target, dc);
}

void tb_DrawStringAt(int target, int x, int y, const char* text)
{
    tb_DrawString(target, x, y, text, lstrlenA(text), tb_StateForDrawing(target).size);
}

// Draws (when drawFlag is set) and measures text in the target's face, size and style,
// turned by angle degrees. hAlign 0 left, 1 right, 2 centre on x; vAlign 0 top, 1 bottom,
// 2 the centring bits again, which leave the top of the text at y. Returns the width.
int tb_DrawText(int target, int x, int y, const char* text, int length, double angle, int drawFlag, int hAlign,
                int vAlign)
{
    int escapement = tb_Round(angle * 10.0);
    TB_DrawState state = tb_StateForDrawing(target);
    TB_FaceEntry face = tb_FaceOf(state.face);

    int weight = FW_NORMAL;
    DWORD italic = 0, underline = 0, strikeout = 0;
    switch (state.style) {
    case 1: weight = FW_BOLD; break;
    case 2: italic = 1; break;
    case 3: underline = 1; break;
    case 4: strikeout = 1; break;
    default: break;
    }

    UINT align = 0;
    UINT format = DT_SINGLELINE | DT_CALCRECT;
    switch (hAlign) {
    case 1: align |= TA_RIGHT; format |= DT_RIGHT; break;
    case 2: align |= TA_CENTER; format |= DT_CENTER; break;
    default: break;
    }
    switch (vAlign) {
    case 1: align |= TA_BOTTOM; format |= DT_BOTTOM; break;
    case 2: align |= TA_CENTER; format |= DT_VCENTER; break;
    default: break;
    }

    HDC dc = tb_AcquireSurface(target);
    if (!dc) return 0;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, state.fore);
    SetBkColor(dc, state.back);
    SetTextAlign(dc, align);

    HFONT font = CreateFontA(-state.size, 0, escapement, 0, weight, italic, underline, strikeout, 0,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, face.family, face.name);
    HGDIOBJ oldFont = SelectObject(dc, font);
    if (drawFlag) TextOutA(dc, x, y, text, length);

    RECT measured = {x, y - state.size, x, y};
    DrawTextA(dc, text, length, &measured, format);

    SelectObject(dc, oldFont);
    DeleteObject(font);
    tb_ReleaseSurface(target, dc);
    return measured.right - measured.left;
}

// A component on the 0..65025 scale to a byte: divided by 255, the remainder dropped.
static int tb_TextByte(long value) { return value <= 0 ? 0 : (value >= 65025 ? 255 : (int)(value / 255)); }

SIZE tb_DrawText(int target, int x, int y, const char* text, int length, const char* face, int height, int style,
                 long red, long green, long blue, double angle, const RECT* clip)
{
    SIZE measured = {0, 0};
    if (!text || length < 0) return measured;
    HDC dc = tb_AcquireSurface(target);
    if (!dc) return measured;

    HFONT font = CreateFontA(-height, 0, tb_Round(angle * 10.0), 0, style == 1 ? FW_BOLD : FW_NORMAL,
                             style == 2 ? TRUE : FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, face ? face : "");
    HGDIOBJ oldFont = SelectObject(dc, font);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = SetTextColor(dc, RGB(tb_TextByte(red), tb_TextByte(green), tb_TextByte(blue)));
    UINT oldAlign = SetTextAlign(dc, TA_BOTTOM | TA_CENTER);

    const bool clipped = clip && !tb_ClipIsNone(*clip);
    if (clipped) {
        HRGN region = CreateRectRgnIndirect(clip);
        SelectClipRgn(dc, region);
        DeleteObject(region);
    }
    TextOutA(dc, x, y, text, length);
    if (clipped) SelectClipRgn(dc, nullptr);

    GetTextExtentPoint32A(dc, text, length, &measured);

    SetTextAlign(dc, oldAlign);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    tb_ReleaseSurface(target, dc);
    return measured;
}
