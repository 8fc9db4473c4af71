// The gallery's page turn (enumerate the folder, read the picture, draw the face with its
// preview) with 100 pictures of 634 x 488, Print picture's work before the page is sent (the
// work copy, light print, the fitted rectangle) for a 1920 x 1080 canvas, and a BMP Save and Open
// of the whole canvas of the screen the benchmark runs on (the Save's flush to the disk apart).
#include <cstdio>
#include <string>
#include <vector>

#include "bench_util.h"
#include "pictures/picture_files.h"

namespace {

const int kColumn = 52, kCount = 4;  // the widths of the series' names and counts

int Light(void) { return 1; }

// Save writes the whole picture to a file beside the old one, flushes it to the disk and puts it in
// the old one's place; Open reads it back, places it on the canvas, shows it and keeps the undo copy.
void SaveAndOpen(void)
{
    int window = bench_OpenWindow("PicturesBench");
    if (window < 0) return;
    bench_StartScene(window);
    bench_PrintLayout();
    const SceneLayout& L = scene.layout;
    for (int x = 0; x < L.canvasWidth; x += 16) {
        RECT r = {x, 0, x + 16, L.canvasHeight};
        tb_SetForeColor(scene.canvasBitmap, (x * 37) % 65025, (x * 91) % 65025, (x * 13) % 65025);
        tb_PaintRect(scene.canvasBitmap, &r);
    }
    char temp[MAX_PATH], path[MAX_PATH + 32];
    GetTempPathA(sizeof temp, temp);
    wsprintfA(path, "%stintwell_bench_canvas.bmp", temp);
    std::vector<double> writes, flushes, saves, opens;
    for (int i = 0; i < 10; ++i) {
        bench_Idle();
        double start = bench_Now();
        if (tb_OpenFileToReplace(path) != 1 || tb_WriteBitmapToFile(scene.canvasBitmap) != 1) {
            tb_CloseFile();
            std::printf("(the picture could not be written to %s)\n", path);
            break;
        }
        double written = bench_Now();
        tb_CommitFile();
        double end = bench_Now();
        writes.push_back(written - start);
        flushes.push_back(end - written);
        saves.push_back(end - start);
        start = bench_Now();
        if (tb_OpenFileToRead(path, 0) != 1 || !pictures_OpenChosen()) {
            std::printf("(the picture could not be read from %s)\n", path);
            break;
        }
        GdiFlush();
        opens.push_back(bench_Now() - start);
    }
    DeleteFileA(path);
    if (!opens.empty()) {
        bench_Report("BMP save of the whole canvas, without the flush", writes, kColumn, kCount);
        bench_Report("BMP save of the whole canvas, the flush to the disk", flushes, kColumn, kCount);
        bench_Report("BMP save of the whole canvas, in all", saves, kColumn, kCount);
        bench_Report("BMP open of the whole canvas (read, place, show)", opens, kColumn, kCount);
    }
    bench_Close(window);
}

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
            double start = bench_Now();
            pictures_EnumerateGallery();
            gallery.position = position;
            int face = tb_CreateBitmap(&faceRect, 0, 24);
            pictures_DrawGallery(face);
            GdiFlush();
            tb_DisposeBitmap(face);
            turns.push_back(bench_Now() - start);
        }
    }
    std::printf("gallery: %d pictures listed\n", gallery.count);
    bench_Report("gallery page turn (enumerate + decode + preview)", turns, kColumn, kCount);

    RECT canvas = {0, 0, 1920, 1080};
    scene.canvasBitmap = tb_CreateBitmap(&canvas, 0, 24);
    scene.layout.picture = canvas;
    tb_SetForeColor(scene.canvasBitmap, 0, 0, 65025);
    tb_PaintRect(scene.canvasBitmap, &canvas);
    picturePreferences.lightPrint = Light;
    std::vector<double> prints;
    for (int i = 0; i < 20; ++i) {
        double start = bench_Now();
        RECT to;
        int work = pictures_PreparePrint(2479, 3508, &to);
        GdiFlush();
        prints.push_back(bench_Now() - start);
        tb_DisposeBitmap(work);
    }
    bench_Report("print picture before the page, 1920x1080, light print", prints, kColumn, kCount);
    tb_DisposeBitmap(scene.canvasBitmap);

    for (int i = 0; i < 100; ++i) {
        char path[MAX_PATH];
        wsprintfA(path, "%spage%03d.bmp", folder.c_str(), i);
        DeleteFileA(path);
    }
    RemoveDirectoryA(folder.c_str());
    SaveAndOpen();
    return 0;
}
