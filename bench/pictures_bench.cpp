// The gallery's page turn (enumerate the folder, read the picture, draw the face with its
// preview) with 100 pictures of 634 x 488, and Print picture's work before the page is sent (the
// work copy, light print, the fitted rectangle) for a 1920 x 1080 canvas.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "pictures/picture_files.h"
#include "scene/scene.h"
#include "toolbox.h"

namespace {

double Now()
{
    static LARGE_INTEGER frequency = {};
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

void Report(const char* what, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    auto at = [&](double q) { return ms[std::min(ms.size() - 1, size_t(q * ms.size()))]; };
    double sum = 0;
    for (double v : ms) sum += v;
    std::printf("%-52s n=%4u  p50 %.3f ms  p99 %.3f ms  max %.3f ms  mean %.3f ms\n", what, unsigned(ms.size()),
                at(0.50), at(0.99), ms.back(), sum / ms.size());
}

int Light(void) { return 1; }

}  // namespace

int main()
{
    tb_SetInstance(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
    tb_InitToolbox();

    // A folder of 100 pictures of 634 x 488, written by the program's own writer.
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + "tintwell_bench_gallery\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    RECT page = {0, 0, 634, 488};
    int picture = tb_CreateBitmap(&page, 0, 24);
    for (int i = 0; i < 100; ++i) {
        tb_SetForeColor(picture, (i * 650) % 65025, 30000, 65025 - i * 600);
        RECT band = {0, (i * 4) % 488, 634, (i * 4) % 488 + 40};
        tb_PaintRect(picture, &band);
        char path[MAX_PATH];
        wsprintfA(path, "%spage%03d.bmp", folder.c_str(), i);
        tb_OpenFileToWrite(path, 0);
        tb_WriteBitmapToFile(picture);
        tb_CloseFile();
    }
    tb_DisposeBitmap(picture);

    lstrcpynA(scene.browseFolder, folder.c_str(), sizeof scene.browseFolder);
    RECT faceRect = {0, 0, 408, 417};
    std::vector<double> turns;
    for (int round = 0; round < 3; ++round) {
        for (int position = 0; position < 100; ++position) {
            double start = Now();
            pictures_EnumerateGallery();
            gallery.position = position;
            int face = tb_CreateBitmap(&faceRect, 0, 24);
            pictures_DrawGallery(face);
            GdiFlush();
            tb_DisposeBitmap(face);
            turns.push_back(Now() - start);
        }
    }
    std::printf("gallery: %d pictures listed\n", gallery.count);
    Report("gallery page turn (enumerate + decode + preview)", turns);

    RECT canvas = {0, 0, 1920, 1080};
    scene.canvasBitmap = tb_CreateBitmap(&canvas, 0, 24);
    scene.layout.picture = canvas;
    tb_SetForeColor(scene.canvasBitmap, 0, 0, 65025);
    tb_PaintRect(scene.canvasBitmap, &canvas);
    picturePreferences.lightPrint = Light;
    std::vector<double> prints;
    for (int i = 0; i < 20; ++i) {
        double start = Now();
        RECT to;
        int work = pictures_PreparePrint(2479, 3508, &to);
        GdiFlush();
        prints.push_back(Now() - start);
        tb_DisposeBitmap(work);
    }
    Report("print picture before the page, 1920x1080, light print", prints);
    tb_DisposeBitmap(scene.canvasBitmap);

    for (int i = 0; i < 100; ++i) {
        char path[MAX_PATH];
        wsprintfA(path, "%spage%03d.bmp", folder.c_str(), i);
        DeleteFileA(path);
    }
    RemoveDirectoryA(folder.c_str());
    return 0;
}
