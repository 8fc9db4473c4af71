// The pencil draws with the default pen; its size comes from panel A. The same panel serves the
// eraser and the ruler, panel B the brush and the spray can.
#include "tools/pencil.h"

#include "toolbox.h"

const int sizePanelA[SIZE_PANEL_BARS] = {1, 4, 8, 16, 24, 32};
const int sizePanelB[SIZE_PANEL_BARS] = {16, 20, 24, 28, 32, 36};

namespace {

// Bars run from y = 9 to 73 (exclusive); x ranges right-exclusive.
const int kBarTop = 9, kBarBottom = 73;
const int kDrawnLeft[SIZE_PANEL_BARS] = {6, 12, 20, 31, 45, 64};
const int kDrawnRight[SIZE_PANEL_BARS] = {8, 16, 27, 41, 60, 86};
// The two thin bars are easier to hit: two more pixels on each side.
const int kHitLeft[SIZE_PANEL_BARS] = {4, 10, 20, 31, 45, 64};
const int kHitRight[SIZE_PANEL_BARS] = {10, 18, 27, 41, 60, 86};

const int kPanelWidth = 94, kPanelHeight = 82;

}  // namespace

int sizePanel_SizeAt(const int sizes[SIZE_PANEL_BARS], int px, int py, int current)
{
    int size = current;
    if (py < kBarTop || py >= kBarBottom) return size;
    for (int bar = 0; bar < SIZE_PANEL_BARS; ++bar)
        if (px >= kHitLeft[bar] && px < kHitRight[bar]) size = sizes[bar];
    return size;
}

void sizePanel_Draw(SceneObject* object, const RECT* rect, const int sizes[SIZE_PANEL_BARS])
{
    RECT whole = {0, 0, kPanelWidth, kPanelHeight};
    int scratch = tb_CreateBitmap(&whole, TB_SOURCE_BLANK, 24);
    if (scratch < 0) return;
    tb_SetForeColor(scratch, 65025, 65025, 65025);
    tb_PaintRect(scratch, &whole);
    for (int bar = 0; bar < SIZE_PANEL_BARS; ++bar) {
        if (object->size == sizes[bar])
            tb_SetForeColor(scratch, 0, 65025, 0);
        else
            tb_SetForeColor(scratch, 0, 0, 0);
        RECT r = {kDrawnLeft[bar], kBarTop, kDrawnRight[bar], kBarBottom};
        tb_PaintRect(scratch, &r);
    }
    tb_CopyBitmap(scratch, object->sceneBitmap, &whole, rect);
    tb_DisposeBitmap(scratch);
}

void sizePanel_DrawA(SceneObject* object, const RECT* rect) { sizePanel_Draw(object, rect, sizePanelA); }
void sizePanel_DrawB(SceneObject* object, const RECT* rect) { sizePanel_Draw(object, rect, sizePanelB); }

void sizePanel_ClickA(SceneObject* object, int x, int y, const RECT* rect)
{
    object->size = sizePanel_SizeAt(sizePanelA, x - rect->left, y - rect->top, object->size);
}

void sizePanel_ClickB(SceneObject* object, int x, int y, const RECT* rect)
{
    object->size = sizePanel_SizeAt(sizePanelB, x - rect->left, y - rect->top, object->size);
}

void pencil_Install(SceneObject* object)
{
    object->DrawOptions = sizePanel_DrawA;
    object->ClickOptions = sizePanel_ClickA;
}
