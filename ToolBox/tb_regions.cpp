// The region table (clickable outlines) and the rectangle helpers.
#include "tb_internal.h"

enum { TB_MAX_REGION_POINTS = 100 };

static int tb_FreeRegionSlot(void)
{
    for (int i = 0; i < TB_MAX_REGIONS; ++i)
        if (tb.regions[i].free) return i;
    return -1;
}

int tb_RegionsInUse(void)
{
    int n = 0;
    for (const TB_RegionSlot& slot : tb.regions) n += !slot.free;
    return n;
}

// A polygon region, filled by the winding rule, from points ended by a terminator point
// (at most 100 points are read).
int tb_CreateRegion(const TB_Point* points)
{
    if (points[0].x == TB_POINT_END && points[0].y == TB_POINT_END) return -1;
    int slot = tb_FreeRegionSlot();

    POINT corners[TB_MAX_REGION_POINTS];
    int count = 0;
    while (count < TB_MAX_REGION_POINTS && points[count].x != TB_POINT_END && points[count].y != TB_POINT_END) {
        corners[count].x = points[count].x;
        corners[count].y = points[count].y;
        ++count;
    }

    if (slot < 0) {
        tb_ErrorBox("No more available Regions! (tb_CreateRegion)");
        return -1;
    }
    HRGN region = CreatePolygonRgn(corners, count, WINDING);
    if (!region) {
        tb_AttentionBox("Failed to create region.");
        return -1;
    }
    tb.regions[slot].region = region;
    tb.regions[slot].free = 0;
    return slot;
}

// The ellipse region bounded by the square around (cx, cy) with half-side r.
int tb_CreateCircleRegion(int cx, int cy, int r)
{
    if (r == 0) return -1;
    int slot = tb_FreeRegionSlot();
    if (slot < 0) {
        tb_ErrorBox("No more available Regions! (tb_CreateCircleRegion)");
        return -1;
    }
    HRGN region = CreateEllipticRgn(cx - r, cy - r, cx + r, cy + r);
    if (!region) return -1;
    tb.regions[slot].region = region;
    tb.regions[slot].free = 0;
    return slot;
}

// Callers pass a region in use; an index outside the table is ignored.
void tb_DisposeRegion(int region)
{
    if (region < 0 || region >= TB_MAX_REGIONS) return;
    if (tb.regions[region].region) DeleteObject(tb.regions[region].region);
    tb.regions[region].region = nullptr;
    tb.regions[region].free = 1;
}

int tb_PtInRegion(int x, int y, int region)
{
    if (region < 0 || region >= TB_MAX_REGIONS || !tb.regions[region].region) return 0;
    return PtInRegion(tb.regions[region].region, x, y) ? 1 : 0;
}

// ---------------------------------------------------------------- rectangles (right and bottom exclusive)

void tb_SetRect(RECT* rect, int left, int top, int right, int bottom) { SetRect(rect, left, top, right, bottom); }

RECT* tb_OffsetRect(RECT* rect, int dx, int dy)
{
    OffsetRect(rect, dx, dy);
    return rect;
}

RECT* tb_InsetRect(RECT* rect, int dx, int dy)
{
    InflateRect(rect, -dx, -dy);
    return rect;
}

int tb_PtInRect(int x, int y, const RECT* rect)
{
    POINT p = {x, y};
    return PtInRect(rect, p) ? 1 : 0;
}

void tb_IntersectRect(RECT* dest, const RECT* a, const RECT* b) { IntersectRect(dest, a, b); }

void tb_UnionRect(const RECT* a, const RECT* b, RECT* dest) { UnionRect(dest, a, b); }
