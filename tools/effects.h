// The picture effects of the painting tools: a 5 by 5 convolution over a rectangle of a 24-bit
// bitmap, driven by a kernel record, its catalogue of named kernels, and single-pixel access.
#pragma once

#include <windows.h>

// All fields 32-bit signed, in this order.
struct TB_Kernel {
    int weight[5][5];   // [dy + 2][dx + 2]; dy = -2 is two rows above the pixel
    int divisor;        // the weighted sum is divided by this (truncating toward zero)
    int offset;         // added after the division
    int useRed;         // 1: the channel is computed; 0: it keeps the source value
    int useGreen;
    int useBlue;
    int random;         // 1: every weight is multiplied by a fresh random factor at every use
    int randomLow;      // inclusive range of that factor
    int randomHigh;
};

// All weights 0, divisor 1, offset 0, all channels on, no random factor.
void tb_InitKernel(TB_Kernel* kernel);
// Convolves the part of the bitmap inside rect, reading only the unchanged source.
void tb_ApplyKernel(int bitmap, const RECT* rect, const TB_Kernel* kernel);

// The catalogue. Negative amounts count as 0.
void tb_Emboss(int bitmap, const RECT* rect);
void tb_Soften3(int bitmap, const RECT* rect);
void tb_Soften5(int bitmap, const RECT* rect);
void tb_Sharpen(int bitmap, const RECT* rect);
void tb_Noise(int bitmap, const RECT* rect, int amount);
void tb_RedBoost(int bitmap, const RECT* rect, int amount);
void tb_GreenBoost(int bitmap, const RECT* rect, int amount);
void tb_BlueBoost(int bitmap, const RECT* rect, int amount);
void tb_Brighten(int bitmap, const RECT* rect, int amount);
void tb_Darken(int bitmap, const RECT* rect, int amount);

// One pixel of a 24-bit bitmap on the 0..65025 scale; outside the bitmap: 0, 0, 0.
void tb_GetPixelRGB(int bitmap, int x, int y, long* red, long* green, long* blue);
// Components above 65025 count as 65025 (below 0 as 0); each channel stores component / 255.
// A point outside the bitmap is ignored.
void tb_SetPixelRGB(int bitmap, int x, int y, long red, long green, long blue);
