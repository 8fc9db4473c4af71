// Cost of one pointer event, through the room's handlers on a window over the whole screen, for the
// stamp floating under the pointer and printed by a press (plain and magnified), each toy at its
// largest size in random colours (the cog in its four-way mirror), the floating preview of a
// 40-character text at 80 pixels (plain and magnified) and the text placed by a click.
#include <cstring>
#include <vector>

#include "bench_util.h"
#include "tools/stamps.h"
#include "tools/text.h"

namespace {

const int kColumn = 52;  // the width of the series' names

void Zoom(int on)
{
    const SceneLayout& L = scene.layout;
    scene.zoomed = on;
    scene.scroll = on ? ScenePoint{L.canvasWidth / 4, L.canvasHeight / 4} : ScenePoint{0, 0};
    scene_ComposeCanvasView();
    scene_ShowAll();
}

// Moves with no button down while a stamp floats.
void FloatingStamp(int window, const char* what, int zoomed)
{
    Zoom(zoomed);
    scene.currentObject = 15;
    scene.objects[15].active = 1;
    std::vector<double> ms = bench_PathMoves(window, 3000);
    bench_Report(what, ms, kColumn);
    // Presses that print the stamp where the pointer is, each after a move there.
    std::vector<double> presses;
    for (int i = 0; i < 100; ++i) {
        POINT p = bench_PathPoint(i * 37);
        scene_MoveHandler(window, p.x, p.y);
        bench_Idle();
        bench_SendMouse(MOUSEEVENTF_LEFTDOWN);
        double start = bench_Now();
        scene_PressHandler(window, p.x, p.y);
        GdiFlush();
        presses.push_back(bench_Now() - start);
        bench_Idle();
        bench_SendMouse(MOUSEEVENTF_LEFTUP);
        scene_ReleaseHandler(window, p.x, p.y);
        bench_Idle();
    }
    scene.objects[15].active = 0;
    char name[96];
    std::snprintf(name, sizeof name, "%s, press (printed)", what);
    bench_Report(name, presses, kColumn);
}

// A press and then a drag of moves with the button down.
void ToyDrag(int window, int object, int size, int mode, const char* what, int events)
{
    Zoom(0);
    scene.currentObject = object;
    scene.objects[object].size = size;
    scene.objects[object].mode = mode;
    bench_SendMouse(MOUSEEVENTF_LEFTDOWN);
    POINT p = bench_PathPoint(0);
    double start = bench_Now();
    scene_PressHandler(window, p.x, p.y);
    std::vector<double> ms = {bench_Now() - start};
    bench_Idle();
    std::vector<double> moves = bench_PathMoves(window, events - 1);
    ms.insert(ms.end(), moves.begin(), moves.end());
    p = bench_PathPoint(events - 1);
    scene_ReleaseHandler(window, p.x, p.y);
    bench_SendMouse(MOUSEEVENTF_LEFTUP);
    bench_Report(what, ms, kColumn);
}

void TextPreview(int window, const char* what, int zoomed)
{
    Zoom(zoomed);
    routing.textPending = 1;
    std::vector<double> ms = bench_PathMoves(window, 1500);
    routing.textPending = 0;
    bench_Report(what, ms, kColumn);
}

// What no move of the magnified preview can cost less than: one copy, to the window, of a box the
// size of the text's own (measured as the preview measures it, with the margin it leaves for italic
// and smoothed glyphs), in the middle of the canvas and clipped to it.
void PreviewBoxBound(int window, const TextSettings& s, const char* what, const char* flush)
{
    RECT one = {0, 0, 1, 1};
    int scratch = tb_CreateBitmap(&one, TB_SOURCE_BLANK, 24);
    if (scratch < 0) return;
    const int height = textSizeTable[s.sizeIndex] * 2;
    SIZE size = tb_DrawText(scratch, 0, 0, s.text, (int)std::strlen(s.text), s.face, height, s.style, 0, 0, 0, 0.0,
                            nullptr);
    tb_DisposeBitmap(scratch);
    const RECT& canvas = scene.layout.canvas;
    const int x = (canvas.left + canvas.right) / 2, y = (canvas.top + canvas.bottom) / 2 + size.cy / 2;
    const int margin = size.cy / 3 + 2;
    RECT box = {x - size.cx / 2 - margin, y - size.cy - 2, x + size.cx / 2 + margin, y + 2};
    IntersectRect(&box, &box, &canvas);
    std::printf("the magnified preview's box: %ldx%ld\n", box.right - box.left, box.bottom - box.top);
    bench_CopyBound(window, what, flush, &box, kColumn);
}

// The text placed by a click on the canvas (the release prints it into the picture and shows the
// canvas anew).
void TextPlaced(int window, const char* what)
{
    Zoom(0);
    std::vector<double> ms;
    for (int i = 0; i < 30; ++i) {
        POINT p = bench_PathPoint(i * 53);
        routing.textPending = 1;
        scene_MoveHandler(window, p.x, p.y);
        bench_Idle();
        double start = bench_Now();
        scene_PressHandler(window, p.x, p.y);
        scene_ReleaseHandler(window, p.x, p.y);
        GdiFlush();
        ms.push_back(bench_Now() - start);
        bench_Idle();
    }
    bench_Report(what, ms, kColumn);
}

}  // namespace

int main()
{
    int window = bench_OpenWindow("StampsToysTextBench");
    if (window < 0) return 1;
    bench_StartScene(window);
    bench_PrintLayout();
    bench_CopyBounds(window, kColumn);

    // The first stamp of Volume 3 as the current stamp.
    RECT sr = {0, 0, 0, 0}, mr = {0, 0, 0, 0};
    int sheet = tb_CreateBitmap(&sr, 1005, 24), sheetMask = tb_CreateBitmap(&mr, 1006, 8);
    stamps_TakeStamp(sheet, sheetMask, 0);
    tb_DisposeBitmap(sheet);
    tb_DisposeBitmap(sheetMask);
    FloatingStamp(window, "floating stamp, move", 0);
    FloatingStamp(window, "floating stamp, move, magnified", 1);

    scene.currentGroup = 4;
    ToyDrag(window, 25, 64, 1, "ball 64, random colours, press/drag", 2000);
    ToyDrag(window, 26, 24, 2, "cog 24, four-way mirror, press/drag", 2000);
    ToyDrag(window, 27, 64, 1, "wand 64, random colours, press/drag", 2000);
    ToyDrag(window, 28, 64, 1, "needle and thread 64, random colours, press/drag", 2000);
    ToyDrag(window, 29, 120, 1, "paintball gun 120, random colours, press/drag", 1000);

    TextSettings s = text_Settings();
    std::strcpy(s.text, "Forty characters of text float on by me!");
    s.sizeIndex = 4;
    text_SetSettings(&s);
    TextPreview(window, "text preview, 40 characters at 80 px, move", 0);
    TextPreview(window, "text preview, 40 characters at 80 px, magnified", 1);
    PreviewBoxBound(window, s, "copy bound: the magnified text preview's box", "copy bound: preview's box, X screen flush");
    TextPlaced(window, "text placed, 40 characters at 80 px (click)");

    stamps_DisposeStamp();
    bench_Close(window);
    return 0;
}
