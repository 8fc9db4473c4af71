// Timings of the toolbox's heavy operations on a 1920x1080 24-bit bitmap. Run by hand under Wine
// (scripts/bench.sh); prints the median and the slowest of each series in milliseconds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "toolbox.h"

namespace {

LARGE_INTEGER g_frequency;

double nowMs()
{
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * (double)t.QuadPart / (double)g_frequency.QuadPart;
}

template <typename F>
void series(const char* name, int runs, double targetMs, F&& body)
{
    std::vector<double> times;
    body();  // warm-up
    for (int i = 0; i < runs; ++i) {
        double t0 = nowMs();
        body();
        times.push_back(nowMs() - t0);
    }
    std::sort(times.begin(), times.end());
    double median = times[times.size() / 2];
    std::printf("%-44s median %8.3f ms   max %8.3f ms   (%d runs)", name, median, times.back(), runs);
    if (targetMs > 0) std::printf("   target < %.0f ms: %s", targetMs, median < targetMs ? "met" : "NOT met");
    std::printf("\n");
}

}  // namespace

int main()
{
    QueryPerformanceFrequency(&g_frequency);
    tb_SetInstance(GetModuleHandleA(nullptr), SW_HIDE);
    tb_InitToolbox();

    const int W = 1920, H = 1080;
    RECT full = {0, 0, W, H};
    RECT r = full;
    int a = tb_CreateBitmap(&r, TB_SOURCE_BLANK, 24);
    r = full;
    int b = tb_CreateBitmap(&r, TB_SOURCE_BLANK, 24);
    RECT halfRect = {0, 0, W / 2, H / 2};
    r = halfRect;
    int half = tb_CreateBitmap(&r, TB_SOURCE_BLANK, 24);
    if (a < 0 || b < 0 || half < 0) {
        std::printf("could not create the bitmaps\n");
        return 1;
    }
    tb_SetForeColor(a, 65025, 32000, 0);
    tb_PaintRect(a, &full);
    tb_SetForeColor(half, 0, 32000, 65025);
    tb_PaintRect(half, &halfRect);

    series("tb_CopyBitmap 1920x1080, same size", 50, 5, [&] { tb_CopyBitmap(a, b, &full, &full); });
    series("tb_CopyBitmap 960x540 -> 1920x1080 (2x)", 30, 0, [&] { tb_CopyBitmap(half, b, &halfRect, &full); });

    // A full flood fill: the whole bitmap is one area, recoloured back and forth.
    int flip = 0;
    tb_SetForeColor(b, 65025, 65025, 65025);
    tb_PaintRect(b, &full);
    series("tb_FloodFill whole 1920x1080", 30, 15, [&] {
        if (flip) {
            tb_SetForeColor(b, 65025, 65025, 65025);
            tb_FloodFill(b, W / 2, H / 2, 0, 0, 65025);
        } else {
            tb_SetForeColor(b, 0, 0, 65025);
            tb_FloodFill(b, W / 2, H / 2, 65025, 65025, 65025);
        }
        flip = !flip;
    });

    // The pixel loop of one effect dab: 40x40 pixels read and written through the 24-bit helpers.
    TB_DIB* dib = tb_GetBitmapDIB(a);
    series("40x40 grfx_GetPixel24/grfx_SetPixel24 loop", 200, 0, [&] {
        for (int y = 500; y < 540; ++y)
            for (int x = 900; x < 940; ++x) {
                BYTE red, green, blue;
                grfx_GetPixel24(dib, x, y, &red, &green, &blue);
                grfx_SetPixel24(dib, x, y, (BYTE)(255 - red), green, (BYTE)(blue / 2));
            }
    });

    char path[MAX_PATH];
    GetTempPathA(sizeof path, path);
    lstrcatA(path, "tintwell_bench.bmp");
    series("BMP write + read 1920x1080", 20, 50, [&] {
        char p[MAX_PATH];
        lstrcpyA(p, path);
        if (tb_OpenFileToWrite(p, 0) == 1) tb_WriteBitmapToFile(a);
        tb_CloseFile();
        RECT out;
        int read = -1;
        if (tb_OpenFileToRead(p, 0) == 1) read = tb_ReadBitmapFromFile(&out);
        tb_CloseFile();
        if (read >= 0) tb_DisposeBitmap(read);
    });
    DeleteFileA(path);

    tb_DisposeBitmap(half);
    tb_DisposeBitmap(b);
    tb_DisposeBitmap(a);
    return 0;
}
