// The brush (scene object 1) and the seven effect brushes (18 to 24): one dab procedure that
// works on a scratch copy of the square under the pointer and copies it back through a
// circular footprint; panels C and D, and the three-bar panels other tools share.
#pragma once

#include "scene/scene.h"

// One bar of a three-bar size panel: drawn and hit on (left, top)-(right, bottom), right and
// bottom exclusive; a click in it selects size.
struct PanelBar {
    int left, right, size;
};

enum { BAR_PANEL_BARS = 3 };

extern const PanelBar panelC[BAR_PANEL_BARS];  // 16, 28, 40: effect brushes
extern const PanelBar panelE[BAR_PANEL_BARS];  // 24, 32, 48: bump patterns

// Paints the three bars onto a bitmap already holding the white panel, the bar of the object's
// size green, the others black.
void barPanel_DrawBars(int bitmap, const PanelBar bars[BAR_PANEL_BARS], int top, int bottom, int size);
// The size a click at a panel-local point selects: the hit bar's, else current.
int barPanel_SizeAt(const PanelBar bars[BAR_PANEL_BARS], int top, int bottom, int px, int py, int current);
// A white 94 x 82 panel with its three bars, copied into the object's scene bitmap at rect.
void barPanel_Draw(SceneObject* object, const RECT* rect, const PanelBar bars[BAR_PANEL_BARS]);

// Copies the scratch square (centre c) back onto the picture around (x, y) through five
// overlapping rectangles that approximate a disc of radius r.
void dab_CopyThroughFootprint(int scratch, int picture, int c, int r, int x, int y);
// The half-widths of the five footprint rectangles, in their order (80, 10, 62.5, 27.5, 45 degrees).
void dab_FootprintHalves(int r, int dx[5], int dy[5]);

void brush_Dab(SceneObject* object, int x, int y);
void effectBrush_Dab(SceneObject* object, int x, int y);

// Panels C and D.
void panelC_Draw(SceneObject* object, const RECT* rect);
void panelC_Click(SceneObject* object, int x, int y, const RECT* rect);
void panelD_Draw(SceneObject* object, const RECT* rect);
void panelD_Click(SceneObject* object, int x, int y, const RECT* rect);

void brush_Install(SceneObject* object);        // object 1
void effectBrush_Install(SceneObject* object);  // objects 18..21, 23, 24
void crayon_Install(SceneObject* object);       // object 22
