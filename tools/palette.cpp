// The colour palette dialog.
#include "tools/palette.h"

#include "toolbox.h"
#include "tools/effects.h"
#include "tools/picture_dialog.h"

const POINT paletteOutline[PALETTE_POINTS] = {
    {5, 80},    {24, 60},   {102, 24},  {189, 3},   {251, 5},   {299, 18},  {341, 42},  {366, 74},
    {361, 112}, {333, 152}, {285, 190}, {222, 223}, {172, 238}, {131, 238}, {109, 232}, {84, 213},
    {77, 185},  {107, 136}, {94, 124},  {48, 123},  {11, 117},  {1, 102},
};

namespace {

enum { PIC_PALETTE = 136, MASK_PALETTE = 137, SOUND_PICK = 1019, CURSOR_DROPPER = 200 };

const RECT kOk = {130, 94, 153, 113};
const RECT kClose = {154, 94, 173, 113};
const RECT kSwatch = {15, 148, 63, 196};

PaletteState* StateOf(PictureDialog* d) { return (PaletteState*)d->data; }

bool In(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

void Open(PictureDialog* d)
{
    PaletteState* s = StateOf(d);
    TB_Point points[PALETTE_POINTS + 1];
    for (int i = 0; i < PALETTE_POINTS; ++i) points[i] = {paletteOutline[i].x, paletteOutline[i].y};
    points[PALETTE_POINTS] = {TB_POINT_END, TB_POINT_END};
    s->region = tb_CreateRegion(points);
    RECT size;
    s->picture = tb_CreateBitmap(&size, PIC_PALETTE, 24);
    s->picked = 0;
}

void Close(PictureDialog* d)
{
    PaletteState* s = StateOf(d);
    if (s->region >= 0) tb_DisposeRegion(s->region);
    if (s->picture >= 0) tb_DisposeBitmap(s->picture);
    s->region = -1;
    s->picture = -1;
}

void Draw(PictureDialog* d, int face)
{
    PaletteState* s = StateOf(d);
    RECT mask;
    int paletteMask = tb_CreateBitmap(&mask, MASK_PALETTE, 8);
    if (s->picture >= 0 && paletteMask >= 0) {
        RECT image;
        tb_GetBitmapRect(s->picture, &image);
        tb_CopyBitmapMasked(s->picture, paletteMask, face, &image, &mask, &image);
    }
    if (paletteMask >= 0) tb_DisposeBitmap(paletteMask);
    if (!s->picked) return;
    // The swatch: black, a white square inset by 2, the colour inset by 2 more.
    RECT r = kSwatch;
    tb_SetForeColor(face, 0, 0, 0);
    tb_PaintRect(face, &r);
    tb_InsetRect(&r, 2, 2);
    tb_SetForeColor(face, 65025, 65025, 65025);
    tb_PaintRect(face, &r);
    tb_InsetRect(&r, 2, 2);
    tb_SetForeColor(face, s->color.red, s->color.green, s->color.blue);
    tb_PaintRect(face, &r);
}

int Cursor(PictureDialog* d, int x, int y)
{
    PaletteState* s = StateOf(d);
    int hit = palette_HitTest(s->region, x, y);
    if (hit == PALETTE_CLOSE) return PICTURE_CURSOR_ACTIVE;
    if ((hit == PALETTE_OK || hit == PALETTE_SWATCH) && s->picked) return PICTURE_CURSOR_ACTIVE;
    // Over the paint (and over OK before anything was picked) the dropper.
    if (s->region >= 0 && tb_PtInRegion(x, y, s->region)) return CURSOR_DROPPER;
    return PICTURE_CURSOR_ARROW;
}

int Reacts(PictureDialog* d, int x, int y) { return Cursor(d, x, y) == PICTURE_CURSOR_ACTIVE; }

void Press(PictureDialog* d, int x, int y)
{
    PaletteState* s = StateOf(d);
    if (palette_HitTest(s->region, x, y) != PALETTE_PAINT || s->picture < 0) return;
    tb_PlaySoundNoStop(SOUND_PICK);
    // The colour of the palette picture itself, whatever the screen shows.
    long red, green, blue;
    tb_GetPixelRGB(s->picture, x, y, &red, &green, &blue);
    s->color = {(unsigned)red, (unsigned)green, (unsigned)blue};
    s->picked = 1;
    picture_Redraw(d);
}

void Release(PictureDialog* d, int x, int y)
{
    PaletteState* s = StateOf(d);
    int result = 0;
    switch (palette_HitTest(s->region, x, y)) {
    case PALETTE_CLOSE: result = -1; break;
    case PALETTE_OK:
    case PALETTE_SWATCH: result = s->picked ? 1 : 0; break;
    default: break;
    }
    if (result) picture_EndDialog(d, result);
}

}  // namespace

int palette_HitTest(int region, int x, int y)
{
    if (In(kClose, x, y)) return PALETTE_CLOSE;
    if (In(kOk, x, y)) return PALETTE_OK;
    if (In(kSwatch, x, y)) return PALETTE_SWATCH;
    if (region >= 0 && tb_PtInRegion(x, y, region)) return PALETTE_PAINT;
    return PALETTE_NOTHING;
}

int palette_Run(SceneColor* chosen)
{
    PaletteState state = {-1, -1, 0, {0, 0, 0}};
    PictureDialog d = {};
    d.width = PALETTE_WIDTH;
    d.height = PALETTE_HEIGHT;
    d.escapeResult = 0;
    d.data = &state;
    d.open = Open;
    d.draw = Draw;
    d.reacts = Reacts;
    d.cursor = Cursor;
    d.press = Press;
    d.release = Release;
    d.close = Close;
    INT_PTR result = picture_RunDialog(&d);
    // Whichever way it ended, the region and the picture are released (also when the dialog
    // never opened).
    Close(&d);
    if (result == 1 && state.picked) {
        if (chosen) *chosen = state.color;
        return 1;
    }
    return result == -1 ? -1 : 0;
}
