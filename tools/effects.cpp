// The 5 by 5 convolution that every picture effect of the painting tools is made of, the named
// kernels the tools use, and the single-pixel helpers on 24-bit bitmaps.
#include "tools/effects.h"

#include "toolbox.h"

void tb_InitKernel(TB_Kernel* kernel)
{
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 5; ++column) kernel->weight[row][column] = 0;
    kernel->divisor = 1;
    kernel->offset = 0;
    kernel->useRed = 1;
    kernel->useGreen = 1;
    kernel->useBlue = 1;
    kernel->random = 0;
    kernel->randomLow = 0;
    kernel->randomHigh = 0;
}

static int ClampChannel(int value)
{
    if (value < 0) return 0;
    if (value > 255) return 255;
    return value;
}

void tb_ApplyKernel(int bitmap, const RECT* rect, const TB_Kernel* kernel)
{
    TB_DIB* source = tb_GetBitmapDIB(bitmap);
    if (!source || !source->lpBits || !rect || !kernel || grfx_BitCount(source) != 24) return;
    int width = grfx_Width(source), height = grfx_Height(source);
    RECT whole = {0, 0, width, height};
    RECT area;
    if (!IntersectRect(&area, rect, &whole)) return;

    RECT scratchRect = whole;
    int scratch = tb_CreateBitmap(&scratchRect, TB_SOURCE_MEMORY, 24);
    if (scratch < 0) return;
    TB_DIB* result = tb_GetBitmapDIB(scratch);
    if (!result || !result->lpBits) {
        tb_DisposeBitmap(scratch);
        return;
    }

    GdiFlush();  // the system may still be drawing into the picture
    int divisor = kernel->divisor ? kernel->divisor : 1;  // a zero divisor would stop the program
    // Rows are read through their addresses (bottom row first in the store); neighbours of weight 0
    // add nothing: they are not read, and no random number is drawn for them.
    const int stride = grfx_StorageWidth(width, 24);
    auto rowOf = [&](const TB_DIB* dib, int y) { return dib->lpBits + (size_t)stride * (size_t)(height - 1 - y); };
    const bool random = kernel->random == 1;
    for (int y = area.bottom - 1; y >= area.top; --y) {
        BYTE* out = rowOf(result, y);
        const BYTE* here = rowOf(source, y);
        for (int x = area.right - 1; x >= area.left; --x) {
            BYTE blue = here[3 * x], green = here[3 * x + 1], red = here[3 * x + 2];
            int sumRed = 0, sumGreen = 0, sumBlue = 0;
            for (int dy = -2; dy <= 2; ++dy) {
                int ny = y + dy;
                if (ny < 0 || ny >= height) continue;
                const BYTE* row = rowOf(source, ny);
                for (int dx = -2; dx <= 2; ++dx) {
                    int nx = x + dx;
                    if (nx < 0 || nx >= width) continue;
                    int w = kernel->weight[dy + 2][dx + 2];
                    if (w == 0) continue;
                    if (random) w *= tb_Random(kernel->randomLow, kernel->randomHigh);
                    if (w == 0) continue;
                    const BYTE* p = row + 3 * nx;
                    if (kernel->useRed) sumRed += p[2] * w;
                    if (kernel->useGreen) sumGreen += p[1] * w;
                    if (kernel->useBlue) sumBlue += p[0] * w;
                }
            }
            // C++ division truncates toward zero, as the effects expect.
            if (kernel->useRed) red = (BYTE)ClampChannel(sumRed / divisor + kernel->offset);
            if (kernel->useGreen) green = (BYTE)ClampChannel(sumGreen / divisor + kernel->offset);
            if (kernel->useBlue) blue = (BYTE)ClampChannel(sumBlue / divisor + kernel->offset);
            out[3 * x] = blue;
            out[3 * x + 1] = green;
            out[3 * x + 2] = red;
        }
    }

    grfx_CopyBits(result, area.left, area.top, area.right - area.left, area.bottom - area.top, source, area.left,
                  area.top, 0);
    tb_DisposeBitmap(scratch);
}

// ---------------------------------------------------------------- the catalogue

static int NotNegative(int amount) { return amount < 0 ? 0 : amount; }

void tb_Emboss(int bitmap, const RECT* rect)
{
    TB_Kernel k;
    tb_InitKernel(&k);
    // Rows dy = -1, 0, +1; columns dx = -1, 0, +1.
    k.weight[1][1] = -150; k.weight[1][2] = -150; k.weight[1][3] = 150;
    k.weight[2][1] = -150; k.weight[2][2] = 0;    k.weight[2][3] = 150;
    k.weight[3][1] = -150; k.weight[3][2] = 150;  k.weight[3][3] = 150;
    k.divisor = 400;
    k.offset = 200;
    tb_ApplyKernel(bitmap, rect, &k);
}

void tb_Soften3(int bitmap, const RECT* rect)
{
    TB_Kernel k;
    tb_InitKernel(&k);
    for (int row = 1; row <= 3; ++row)
        for (int column = 1; column <= 3; ++column) k.weight[row][column] = 1;
    k.divisor = 9;
    tb_ApplyKernel(bitmap, rect, &k);
}

void tb_Soften5(int bitmap, const RECT* rect)
{
    TB_Kernel k;
    tb_InitKernel(&k);
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 5; ++column) k.weight[row][column] = 1;
    k.divisor = 25;
    tb_ApplyKernel(bitmap, rect, &k);
}

void tb_Sharpen(int bitmap, const RECT* rect)
{
    TB_Kernel k;
    tb_InitKernel(&k);
    k.weight[2][2] = 150;
    k.weight[1][2] = -10;  // (0, -1)
    k.weight[2][1] = -10;  // (-1, 0)
    k.weight[2][3] = -10;  // (+1, 0)
    k.weight[3][2] = -10;  // (0, +1)
    k.divisor = 100;
    tb_ApplyKernel(bitmap, rect, &k);
}

void tb_Noise(int bitmap, const RECT* rect, int amount)
{
    amount = NotNegative(amount);
    TB_Kernel k;
    tb_InitKernel(&k);
    k.weight[2][2] = 1;
    k.divisor = 100;
    k.random = 1;
    k.randomLow = 100 - amount;
    k.randomHigh = 100 + amount;
    tb_ApplyKernel(bitmap, rect, &k);
}

static void Boost(int bitmap, const RECT* rect, int amount, int red, int green, int blue)
{
    amount = NotNegative(amount);
    TB_Kernel k;
    tb_InitKernel(&k);
    k.weight[2][2] = 100 + amount;
    k.divisor = 100;
    k.useRed = red;
    k.useGreen = green;
    k.useBlue = blue;
    tb_ApplyKernel(bitmap, rect, &k);
}

void tb_RedBoost(int bitmap, const RECT* rect, int amount) { Boost(bitmap, rect, amount, 1, 0, 0); }
void tb_GreenBoost(int bitmap, const RECT* rect, int amount) { Boost(bitmap, rect, amount, 0, 1, 0); }
void tb_BlueBoost(int bitmap, const RECT* rect, int amount) { Boost(bitmap, rect, amount, 0, 0, 1); }

static void Shift(int bitmap, const RECT* rect, int offset)
{
    TB_Kernel k;
    tb_InitKernel(&k);
    k.weight[2][2] = 1;
    k.divisor = 1;
    k.offset = offset;
    tb_ApplyKernel(bitmap, rect, &k);
}

void tb_Brighten(int bitmap, const RECT* rect, int amount) { Shift(bitmap, rect, NotNegative(amount)); }
void tb_Darken(int bitmap, const RECT* rect, int amount) { Shift(bitmap, rect, -NotNegative(amount)); }

// ---------------------------------------------------------------- single pixels

void tb_GetPixelRGB(int bitmap, int x, int y, long* red, long* green, long* blue)
{
    BYTE r = 0, g = 0, b = 0;
    TB_DIB* image = tb_GetBitmapDIB(bitmap);
    if (image) {
        GdiFlush();
        grfx_GetPixel24(image, x, y, &r, &g, &b);
    }
    *red = r * 255L;
    *green = g * 255L;
    *blue = b * 255L;
}

static BYTE ComponentToChannel(long value)
{
    if (value > 65025) value = 65025;
    if (value < 0) value = 0;
    return (BYTE)(value / 255);
}

void tb_SetPixelRGB(int bitmap, int x, int y, long red, long green, long blue)
{
    TB_DIB* image = tb_GetBitmapDIB(bitmap);
    if (!image) return;
    GdiFlush();
    grfx_SetPixel24(image, x, y, ComponentToChannel(red), ComponentToChannel(green), ComponentToChannel(blue));
}
