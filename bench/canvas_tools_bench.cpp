// Cost of one pointer event of every canvas tool at its largest size on a window over the whole
// screen, the routing's refresh included: the brush, the effect brushes, the spray can, the eraser,
// the bump patterns, the ruler and the templates dragged across the whole canvas, the scissors'
// marquee and floating 300 x 300 piece, the dropper; the jar's fill of the whole canvas; the
// cleaner bottle after a small and after a whole-canvas change; picking a tool, a can and the
// spyglass, and the hover over the room.
#include <cmath>
#include <cstdio>
#include <vector>

#include "bench_util.h"
#include "tools/brush.h"
#include "tools/dropper_scissors.h"

namespace {

const int kColumn = 46;  // the width of the series' names

int g_window = -1;

// A picture with something on it: stripes of colour, so the effects have work to do.
void Stripes(void)
{
    const SceneLayout& L = scene.layout;
    for (int x = 0; x < L.canvasWidth; x += 40) {
        RECT r = {x, 0, x + 20, L.canvasHeight};
        tb_SetForeColor(scene.canvasBitmap, (x * 97) % 65025, (x * 31) % 65025, 40000);
        tb_PaintRect(scene.canvasBitmap, &r);
    }
    scene_ShowAll();
}

void White(void)
{
    tb_SetForeColor(scene.canvasBitmap, 65025, 65025, 65025);
    tb_PaintRect(scene.canvasBitmap, &scene.layout.picture);
    scene_ShowAll();
}

// A freehand stroke of n moves (circles and zig-zags, 3 to 12 pixels apart) with the button held.
std::vector<double> Freehand(int object, int size, int n)
{
    scene.currentObject = object;
    scene.currentGroup = scene.objects[object].group;
    scene.objects[object].size = size;
    return bench_Drag(g_window, n);
}

// 1000 dabs of a brush straight into the picture, on a grid 20 pixels apart.
std::vector<double> Dabs(void (*dab)(SceneObject* object, int x, int y), SceneObject* object)
{
    std::vector<double> ms;
    for (int i = 0; i < 1000; ++i) {
        double start = bench_Now();
        dab(object, 100 + (i % 50) * 20, 100 + (i / 50) * 20);
        GdiFlush();
        ms.push_back(bench_Now() - start);
        bench_Idle();
    }
    return ms;
}

// A rubber band (the ruler, the templates, the scissors' marquee) made the current tool.
void UseBand(int object, int size, int mode)
{
    scene.currentObject = object;
    scene.currentGroup = 0;
    scene.objects[object].size = size;
    scene.objects[object].mode = mode;
}

// The rubber band's end point swept over the whole canvas and back.
std::vector<double> Sweep(int object, int size, int mode)
{
    UseBand(object, size, mode);
    const RECT& c = scene.layout.canvas;
    std::vector<double> moves;
    bench_SendMouse(MOUSEEVENTF_LEFTDOWN);
    scene_PressHandler(g_window, c.left + 20, c.top + 20);
    for (int i = 1; i <= 600; ++i) {
        double t = (i % 300) / 300.0;
        if ((i / 300) % 2) t = 1 - t;
        int x = c.left + 20 + int(t * (c.right - c.left - 40)), y = c.top + 20 + int(t * (c.bottom - c.top - 40));
        double start = bench_Now();
        scene_MoveHandler(g_window, x, y);
        moves.push_back(bench_Now() - start);
        bench_Idle();
    }
    bench_SendMouse(MOUSEEVENTF_LEFTUP);
    scene_ReleaseHandler(g_window, c.left + 20, c.top + 20);
    return moves;
}

// The release of a figure across the whole canvas, 20 times: it shows all of the canvas anew.
std::vector<double> WholeCanvasReleases(int object, int size, int mode)
{
    UseBand(object, size, mode);
    const RECT& c = scene.layout.canvas;
    std::vector<double> releases;
    for (int i = 0; i < 20; ++i) {
        bench_SendMouse(MOUSEEVENTF_LEFTDOWN);
        scene_PressHandler(g_window, c.left + 20, c.top + 20);
        scene_MoveHandler(g_window, c.left + 400, c.top + 300);
        scene_MoveHandler(g_window, c.right - 20, c.bottom - 20);
        bench_SendMouse(MOUSEEVENTF_LEFTUP);
        double start = bench_Now();
        scene_ReleaseHandler(g_window, c.right - 20, c.bottom - 20);
        GdiFlush();
        releases.push_back(bench_Now() - start);
        bench_Idle();
    }
    return releases;
}

// Scissors: a piece cut (a marquee of 300 x 300 window pixels) and then floating with the
// button up over the canvas.
void FloatingPiece(const char* what)
{
    scene.currentObject = 8;
    scene.currentGroup = scene.objects[8].group;
    scene.objects[8].active = 0;
    scene.objects[8].mode = 0;
    scene.objects[8].size = 1;
    const RECT& c = scene.layout.canvas;
    bench_SendMouse(MOUSEEVENTF_LEFTDOWN);
    scene_PressHandler(g_window, c.left + 100, c.top + 100);
    scene_MoveHandler(g_window, c.left + 400, c.top + 400);
    bench_SendMouse(MOUSEEVENTF_LEFTUP);
    scene_ReleaseHandler(g_window, c.left + 400, c.top + 400);
    int w = 0, h = 0;
    scissors_PieceSize(&w, &h);
    std::printf("scissors piece %dx%d, mode %d\n", w, h, scene.objects[8].mode);
    std::vector<double> floating;
    int cx = (c.left + c.right) / 2, cy = (c.top + c.bottom) / 2;
    for (int i = 1; i <= 2000; ++i) {
        double a = i * 0.02;
        int x = cx + int(500 * std::cos(a)) + (i % 7) * 2, y = cy + int(300 * std::sin(a)) + (i % 5) * 2;
        double start = bench_Now();
        scene_MoveHandler(g_window, x, y);
        floating.push_back(bench_Now() - start);
        bench_Idle();
    }
    bench_Report(what, floating, kColumn);
}

// The view magnified on the picture's middle quarter, or back to the picture at its own size.
void Zoom(int on)
{
    const SceneLayout& L = scene.layout;
    scene.zoomed = on;
    scene.scroll = on ? ScenePoint{L.canvasWidth / 4, L.canvasHeight / 4} : ScenePoint{0, 0};
    scene_ShowAll();
}


// A click (press and release) at a place of the room, timed as one event.
double Click(int x, int y)
{
    double start = bench_Now();
    scene_PressHandler(g_window, x, y);
    scene_ReleaseHandler(g_window, x, y);
    GdiFlush();
    double ms = bench_Now() - start;
    bench_Idle();
    return ms;
}

POINT Middle(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// A point inside an object's outline on the table (the middle of its bounds, or the first point of
// its bounds that the outline holds).
POINT OnObject(int index)
{
    const SceneObject& o = scene.objects[index];
    POINT m = Middle(o.bounds);
    if (tb_PtInRegion(m.x, m.y, o.region)) return m;
    for (int y = o.bounds.top; y < o.bounds.bottom; ++y)
        for (int x = o.bounds.left; x < o.bounds.right; ++x)
            if (tb_PtInRegion(x, y, o.region)) return {x, y};
    return m;
}

// The cleaner bottle clicked after a change: a short pencil stroke, or the jar over the whole
// (one-coloured) canvas.
std::vector<double> Cleaner(bool whole)
{
    const SceneLayout& L = scene.layout;
    const POINT bottle = Middle(L.cleaner);
    const int cx = (L.canvas.left + L.canvas.right) / 2, cy = (L.canvas.top + L.canvas.bottom) / 2;
    std::vector<double> ms;
    for (int i = 0; i < 20; ++i) {
        scene.currentObject = whole ? 6 : 0;
        scene.objects[0].size = 8;
        scene_SetCurrentColor(i % 2 ? 65025 : 0, 0, i % 2 ? 0 : 65025, 0);
        bench_SendMouse(MOUSEEVENTF_LEFTDOWN);
        scene_PressHandler(g_window, cx, cy);
        for (int k = 1; k <= 5; ++k) scene_MoveHandler(g_window, cx + 8 * k, cy + 3 * k);
        bench_SendMouse(MOUSEEVENTF_LEFTUP);
        scene_ReleaseHandler(g_window, cx + 40, cy + 15);
        bench_Idle();
        ms.push_back(Click(bottle.x, bottle.y));
    }
    return ms;
}

// Clicks on the room outside the canvas: tools of the Artist's Tool Box in turn, the cans in turn,
// and the spyglass zooming in on the canvas and out again.
void RoomClicks(void)
{
    const SceneLayout& L = scene.layout;
    scene.currentGroup = 0;
    scene_Compose(0, 0, 1);
    std::vector<double> tools, cans, zoomIn, zoomOut;
    for (int i = 0; i < 40; ++i) {
        POINT p = OnObject(i % 9);
        tools.push_back(Click(p.x, p.y));
        if (scene.currentObject != i % 9) std::printf("(the click at %ld,%ld picked %d, not %d)\n", p.x, p.y, scene.currentObject, i % 9);
        POINT c = Middle(L.canLids[i % SCENE_CANS]);
        cans.push_back(Click(c.x, c.y));
    }
    scene.currentObject = 0;
    const POINT spyglass = Middle(L.spyglass), centre = Middle(L.canvas);
    for (int i = 0; i < 20; ++i) {
        Click(spyglass.x, spyglass.y);  // zoom pending: the next click on the canvas chooses the centre
        zoomIn.push_back(Click(centre.x + (i % 5) * 40, centre.y));
        zoomOut.push_back(Click(spyglass.x, spyglass.y));
    }
    bench_Report("tool picked on the table (click)", tools, kColumn);
    bench_Report("can picked (click)", cans, kColumn);
    bench_Report("spyglass: zoom in at a click on the canvas", zoomIn, kColumn);
    bench_Report("spyglass: zoom out (click)", zoomOut, kColumn);
}

// The pointer over the room with no button down: the highlights of the left panel, the tools'
// captions on the table, the cans, the speaker and the spyglass, then the wall, in turn.
std::vector<double> Hover(void)
{
    const SceneLayout& L = scene.layout;
    std::vector<POINT> places = {Middle(L.rockButton), Middle(L.booksButton), Middle(L.toolBoxButton),
                                 Middle(L.magicHatButton), Middle(L.printer), Middle(L.toysButton),
                                 Middle(L.keyboard), Middle(L.cleaner), Middle(L.remote), Middle(L.paintTube),
                                 Middle(L.speaker), Middle(L.spyglass), Middle(L.canLids[3]), Middle(L.paintBlot),
                                 {L.width - 8, 8}};
    for (int i = 0; i < 9; ++i) places.push_back(OnObject(i));
    std::vector<double> ms;
    for (int i = 0; i < 600; ++i) {
        POINT p = places[i % places.size()];
        double start = bench_Now();
        scene_MoveHandler(g_window, p.x, p.y);
        GdiFlush();
        ms.push_back(bench_Now() - start);
        bench_Idle();
    }
    return ms;
}
}  // namespace

int main()
{
    g_window = bench_OpenWindow("CanvasToolsBench");
    if (g_window < 0) return 1;
    bench_StartScene(g_window);
    bench_PrintLayout();
    bench_CopyBounds(g_window, kColumn);
    Stripes();

    bench_Report("brush move, size 36", Freehand(1, 36, 2000), kColumn);
    // The dab alone, without the routing and its refresh.
    scene.objects[1].size = 36;
    bench_Report("brush dab alone, size 36", Dabs(brush_Dab, &scene.objects[1]), kColumn);
    scene.objects[20].size = 40;
    bench_Report("lightbulb dab alone, size 40", Dabs(effectBrush_Dab, &scene.objects[20]), kColumn);
    bench_Report("eraser move, size 32", Freehand(2, 32, 2000), kColumn);
    bench_Report("spray can move, size 36", Freehand(3, 36, 2000), kColumn);
    const char* effects[] = {"pocket knife", "sunglasses", "lightbulb", "rag", "crayon", "pepper", "hammer and chisel"};
    for (int i = 0; i < 7; ++i) {
        char name[80];
        std::snprintf(name, sizeof name, "%s move, size 40", effects[i]);
        Stripes();
        bench_Report(name, Freehand(18 + i, 40, 1000), kColumn);
    }
    for (int i = 9; i <= 14; ++i) {
        char name[80];
        std::snprintf(name, sizeof name, "bump pattern %d move, size 48", i);
        bench_Report(name, Freehand(i, 48, 1000), kColumn);
    }
    bench_Report("dropper move", Freehand(7, 1, 2000), kColumn);

    bench_Report("ruler move across the canvas, size 32", Sweep(4, 32, 0), kColumn);
    const char* shapes[] = {"ellipse outline", "filled ellipse", "rectangle outline", "filled rectangle"};
    for (int m = 0; m < 4; ++m) {
        char name[80];
        std::snprintf(name, sizeof name, "templates move, %s", shapes[m]);
        bench_Report(name, Sweep(5, 32, m), kColumn);
    }
    std::vector<double> releases = WholeCanvasReleases(4, 32, 0);
    for (int m = 0; m < 4; ++m) {
        std::vector<double> more = WholeCanvasReleases(5, 32, m);
        releases.insert(releases.end(), more.begin(), more.end());
    }
    bench_Report("ruler and templates release, whole-canvas figure", releases, kColumn);

    // Scissors: the marquee over the whole canvas, then a 300 x 300 piece floating with the button up.
    scene.objects[8].mode = 0;
    scene.objects[8].size = 1;
    bench_Report("scissors marquee move across the canvas", Sweep(8, 1, 0), kColumn);
    FloatingPiece("scissors floating piece 300x300 move");
    const RECT& c = scene.layout.canvas;
    int cx = (c.left + c.right) / 2, cy = (c.top + c.bottom) / 2;
    std::vector<double> stamps;
    for (int i = 0; i < 100; ++i) {
        bench_SendMouse(MOUSEEVENTF_LEFTDOWN);
        double start = bench_Now();
        scene_PressHandler(g_window, cx + (i % 10) * 30, cy + (i / 10) * 20);
        stamps.push_back(bench_Now() - start);
        bench_Idle();
        bench_SendMouse(MOUSEEVENTF_LEFTUP);
        scene_ReleaseHandler(g_window, cx + (i % 10) * 30, cy + (i / 10) * 20);
    }
    bench_Report("scissors stamp press (into the picture)", stamps, kColumn);
    // The pointer jumps (a touch screen's tap): the piece floats at one corner of the canvas and the
    // press comes at the other.
    std::vector<double> jumps;
    for (int i = 0; i < 50; ++i) {
        int side = i % 2 ? 1 : -1;
        scene_MoveHandler(g_window, cx - side * 600, cy - side * 300);
        bench_SendMouse(MOUSEEVENTF_LEFTDOWN);
        double start = bench_Now();
        scene_PressHandler(g_window, cx + side * 600, cy + side * 300);
        jumps.push_back(bench_Now() - start);
        bench_Idle();
        bench_SendMouse(MOUSEEVENTF_LEFTUP);
        scene_ReleaseHandler(g_window, cx + side * 600, cy + side * 300);
    }
    bench_Report("scissors stamp press after a jump", jumps, kColumn);
    scene.objects[8].active = 0;
    scene.objects[8].mode = 0;

    // The jar: the whole canvas flooded, alternately with two colours.
    std::vector<double> fills, pressEvents;
    White();
    scene.currentObject = 6;
    for (int i = 0; i < 20; ++i) {
        // Blue by the fill alone, then red through the press handler: every fill covers the canvas.
        scene.objects[6].SetColor(&scene.objects[6], 0, 0, 65025);
        double start = bench_Now();
        scene.objects[6].Press(&scene.objects[6], 300, 300);
        GdiFlush();
        fills.push_back(bench_Now() - start);
        bench_Idle();
        scene.objects[6].Release(&scene.objects[6], 300, 300);
        bench_Idle();  // the time between two clicks
        scene_SetCurrentColor(65025, 0, 0, 0);
        start = bench_Now();
        scene_PressHandler(g_window, 500, 500);
        GdiFlush();
        pressEvents.push_back(bench_Now() - start);
        bench_Idle();
        scene_ReleaseHandler(g_window, 500, 500);
    }
    bench_Report("jar full-canvas fill (the fill alone)", fills, kColumn);
    std::vector<double> raw;
    for (int i = 0; i < 20; ++i) {
        tb_SetForeColor(scene.canvasBitmap, i % 2 ? 65025 : 0, 0, 0);
        double start = bench_Now();
        tb_FloodFill(scene.canvasBitmap, 10, 10, i % 2 ? 0 : 65025, 0, 0);
        raw.push_back(bench_Now() - start);
    }
    bench_Report("tb_FloodFill of the whole canvas", raw, kColumn);
    bench_Report("jar press event (undo copy, fill, refresh)", pressEvents, kColumn);
    // A rubber band right after the jar: the fill went straight to the window, and the ruler's
    // wipes read the scene bitmap's view where it has not caught up with the fill yet.
    bench_Report("ruler move across the canvas after the jar", Sweep(4, 32, 0), kColumn);

    // The freehand tools, the ruler and the floating piece while magnified.
    Stripes();
    Zoom(1);
    bench_Report("brush move, size 36, magnified", Freehand(1, 36, 2000), kColumn);
    bench_Report("eraser move, size 32, magnified", Freehand(2, 32, 2000), kColumn);
    bench_Report("spray can move, size 36, magnified", Freehand(3, 36, 2000), kColumn);
    bench_Report("ruler move across the canvas, size 32, magnified", Sweep(4, 32, 0), kColumn);
    FloatingPiece("scissors floating piece move, magnified");
    scene.objects[8].active = 0;
    scene.objects[8].mode = 0;
    Zoom(0);

    // The cleaner bottle, the clicks on the room and the hover over it.
    Stripes();
    bench_Report("cleaner bottle after a pencil stroke (click)", Cleaner(false), kColumn);
    White();
    bench_Report("cleaner bottle after the jar filled the canvas (click)", Cleaner(true), kColumn);
    RoomClicks();
    bench_Report("hover over the room (highlights, captions)", Hover(), kColumn);
    scene.currentObject = 0;
    scene.currentGroup = 0;

    // What every press and release costs in the routing itself, whatever the tool: the undo copy
    // of the whole picture at a press, the refresh of the whole canvas after a press and a release.
    std::vector<double> undo, refresh;
    for (int i = 0; i < 30; ++i) {
        double start = bench_Now();
        scene_SaveUndo();
        GdiFlush();
        undo.push_back(bench_Now() - start);
        start = bench_Now();
        scene_Refresh(&scene.layout.canvas);
        GdiFlush();
        refresh.push_back(bench_Now() - start);
        bench_Idle();
    }
    bench_Report("routing: undo copy at a press", undo, kColumn);
    bench_Report("routing: whole-canvas refresh (press, release)", refresh, kColumn);
    // The idle ticks that bring the spare copy up to a picture changed whole: one tick (what an event
    // arriving meanwhile waits for at most) and all of them.
    std::vector<double> tick, ticks;
    for (int i = 0; i < 10; ++i) {
        scene_PictureChanged(nullptr);
        double begun = bench_Now();
        for (;;) {
            double start = bench_Now();
            if (!scene_CatchUpSpare()) break;
            GdiFlush();
            tick.push_back(bench_Now() - start);
        }
        ticks.push_back(bench_Now() - begun);
    }
    bench_Report("idle: one tick of the spare's catch-up", tick, kColumn);
    bench_Report("idle: the spare caught up after a whole change", ticks, kColumn);

    sceneServices.disposeToolBitmaps();
    bench_Close(g_window);
    return 0;
}
