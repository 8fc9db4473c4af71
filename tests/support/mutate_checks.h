// One damaged picture file through each road a child's picture takes, and what must hold after it:
// the toolbox's reader on its own, Open's read into the canvas, the gallery's preview, and New's
// coloring pages. Each check returns "" when everything held, else what went wrong; the caller
// (a regular test or bench/mutation_runs.cpp) counts and reports. No test framework here.
//
// What is checked after every file: the file channel is closed, the toolbox's bitmap and region
// slots are back to the count before, and the file is taken exactly when the reader takes it;
// a taken BMP file gives a bitmap of the size its header states (1..16384 a side), a file of
// another format one of the size placing asked for; a refused one
// leaves the reader's rectangle, the canvas and the undo copy as they were and shows the refusal
// the road specifies ("Incompatible File..." after Open, "Could not open selected file." after the
// pages, "Incompatible format; can't preview image" in the preview).
#pragma once

#include <windows.h>
#include <psapi.h>

#include <cstring>
#include <string>
#include <vector>

#include "boxes.h"
#include "mutate.h"
#include "pictures/picture_files.h"
#include "scene/scene.h"
#include "tb_internal.h"

namespace mutate {

inline bool WriteBytes(const std::string& path, const Bytes& bytes)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = bytes.empty() || WriteFile(h, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    CloseHandle(h);
    return ok && written == bytes.size();
}

// A whole file's bytes; empty when it cannot be opened.
inline Bytes ReadBytes(const std::string& path)
{
    Bytes bytes;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return bytes;
    BYTE buffer[65536];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got) bytes.insert(bytes.end(), buffer, buffer + got);
    CloseHandle(h);
    return bytes;
}

// The files of folder (ending in a backslash) that match pattern ("*.png"), up to 4 MB each.
inline std::vector<Bytes> FolderFiles(const std::string& folder, const char* pattern)
{
    std::vector<Bytes> files;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return files;
    do {
        Bytes b = ReadBytes(folder + found.cFileName);
        if (!b.empty() && b.size() <= 4 * 1024 * 1024) files.push_back(b);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return files;
}

// The PNG, JPEG and GIF files of folder, 16 of each format (the fewer repeated): the seeds of
// the other formats' runs, each format with its share of damage.
inline std::vector<Bytes> PictureSeeds(const std::string& folder)
{
    std::vector<Bytes> seeds;
    for (const char* pattern : {"*.png", "*.jpg", "*.gif"}) {
        std::vector<Bytes> some = FolderFiles(folder, pattern);
        for (size_t i = 0; !some.empty() && i < 16; ++i) seeds.push_back(some[i % some.size()]);
    }
    return seeds;
}

// The private bytes of this process: its commit charge (Wine leaves PrivateUsage at 0).
inline size_t PrivateBytes()
{
    typedef BOOL(WINAPI * MemoryInfoProc)(HANDLE, PROCESS_MEMORY_COUNTERS*, DWORD);
    static MemoryInfoProc info = (MemoryInfoProc)(void*)GetProcAddress(LoadLibraryA("psapi.dll"), "GetProcessMemoryInfo");
    PROCESS_MEMORY_COUNTERS c = {};
    c.cb = sizeof c;
    if (!info || !info(GetCurrentProcess(), &c, sizeof c)) return 0;
    return c.PagefileUsage;
}

struct Slots {
    int bitmaps, regions;
    bool operator==(const Slots& o) const { return bitmaps == o.bitmaps && regions == o.regions; }
};

inline Slots FreeSlots()
{
    Slots s = {0, 0};
    for (int i = 0; i < TB_MAX_BITMAPS; ++i) s.bitmaps += tb.bitmaps[i].free ? 1 : 0;
    for (int i = 0; i < TB_MAX_REGIONS; ++i) s.regions += tb.regions[i].free ? 1 : 0;
    return s;
}

// The pixel storage of a 24-bit bitmap (rows as stored).
inline Bytes Storage(int index)
{
    GdiFlush();
    const TB_DIB* dib = tb_GetBitmapDIB(index);
    if (!dib || !dib->lpBits) return Bytes();
    const BITMAPINFOHEADER& h = dib->lpBitmapInfo->bmiHeader;
    size_t n = (size_t)grfx_StorageWidth(h.biWidth, 24) * (size_t)(h.biHeight < 0 ? -h.biHeight : h.biHeight);
    return Bytes(dib->lpBits, dib->lpBits + n);
}

// The bytes of rectangle r of a 24-bit bitmap, row by row.
inline Bytes Area(int index, const RECT& r)
{
    GdiFlush();
    const TB_DIB* dib = tb_GetBitmapDIB(index);
    Bytes out;
    if (!dib || !dib->lpBits) return out;
    int w = dib->lpBitmapInfo->bmiHeader.biWidth, h = dib->lpBitmapInfo->bmiHeader.biHeight;
    size_t stride = (size_t)grfx_StorageWidth(w, 24);
    for (int y = r.top; y < r.bottom && y < h; ++y) {
        const BYTE* row = dib->lpBits + (size_t)(h - 1 - y) * stride;
        out.insert(out.end(), row + 3 * r.left, row + 3 * std::min((int)r.right, w));
    }
    return out;
}

// The picture size a file's header states (the OS/2 header's 16-bit fields or the Windows
// header's signed height, top-down files counted by its magnitude).
inline void StatedSize(const Bytes& f, long long* w, long long* h)
{
    if (Get32(f, 14) == 12) {
        *w = Get16(f, 18);
        *h = Get16(f, 20);
    } else {
        *w = (int32_t)Get32(f, 18);
        long long height = (int32_t)Get32(f, 22);
        *h = height < 0 ? -height : height;
    }
}

// Why the reader must refuse this file, from its headers alone: a header size, bit count or
// compression the reader does not take, a size outside 1..16384, or a file shorter than its
// headers; "" when nothing in the headers forbids it (the file may still be refused for what
// follows: sizes that disagree with the file, a cut table or cut pixels, broken run-length data).
inline std::string MustRefuse(const Bytes& f)
{
    if (f.size() < 18) return "shorter than its headers";
    uint32_t hs = Get32(f, 14);
    if (hs != 12 && hs != 40 && hs != 52 && hs != 56 && hs != 108 && hs != 124) return "header size";
    if (f.size() < 14 + hs) return "shorter than its headers";
    int bits = hs == 12 ? Get16(f, 24) : Get16(f, 28);
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return "bit count";
    if (hs != 12) {
        uint32_t c = Get32(f, 30);
        bool fits = c == 0 || (c == 1 && bits == 8) || (c == 2 && bits == 4) ||
                    ((c == 3 || c == 6) && (bits == 16 || bits == 32));
        if (!fits) return "compression";
        if ((c == 1 || c == 2) && (int32_t)Get32(f, 22) < 0) return "compression";
    }
    long long w, h;
    StatedSize(f, &w, &h);
    if (w < 1 || h < 1 || w > 16384 || h > 16384) return "size";
    if ((long long)(((w * 24 + 31) / 32) * 4) * h > 128LL * 1024 * 1024) return "size";
    if ((long long)Get32(f, 2) > (long long)f.size()) return "file size field beyond the file";
    if (Get32(f, 2) < Get32(f, 10)) return "pixel offset beyond the file size field";
    if (Get32(f, 10) < 14 + hs) return "pixels inside the headers";
    return "";
}

// The label a refusal is counted under: the header's reason, or "cut or inconsistent data".
inline std::string RefusalLabel(const Bytes& f)
{
    std::string why = MustRefuse(f);
    return why.empty() ? "table, pixels or runs cut or inconsistent" : why;
}

// A file the picture reader hands to the BMP reader: it begins with "BM".
inline bool IsBmp(const Bytes& f) { return f.size() >= 2 && f[0] == 'B' && f[1] == 'M'; }

// The toolbox's reader on path (already holding file): *index gets the bitmap (the caller
// disposes of it) or -1. Without need, the BMP reader; with it, the picture reader as placing asks,
// which reads a file that begins with "BM" whole as the BMP reader does and any other through the
// imaging component at the size need gives (a crop no larger than it).
inline std::string CheckReader(const std::string& path, const Bytes& file, int* index,
                               const TB_PictureNeed* need = nullptr)
{
    *index = -1;
    Slots before = FreeSlots();
    std::vector<char> name(path.begin(), path.end());
    name.push_back(0);
    if (tb_OpenFileToRead(name.data(), 0) != 1) return "the file could not be opened";
    RECT r = {-7, -7, -7, -7};
    int b = need ? tb_ReadPictureFromFile(&r, need, nullptr) : tb_ReadBitmapFromFile(&r);
    bool channelOpen = tb.file != INVALID_HANDLE_VALUE;
    tb_CloseFile();
    if (!channelOpen) return "the reader closed the channel";
    if (b < 0) {
        if (!(r.left == -7 && r.top == -7 && r.right == -7 && r.bottom == -7)) return "a refusal changed the rectangle";
        if (!(FreeSlots() == before)) return "a refusal kept a slot";
        return "";
    }
    *index = b;
    if (FreeSlots().bitmaps != before.bitmaps - 1 || FreeSlots().regions != before.regions)
        return "the reader took more than one slot";
    long long w, h;
    if (need && !IsBmp(file)) {
        w = need->width, h = need->height;
        bool fits = need->fit == TB_FIT_SCALE ? r.right == w && r.bottom == h
                                              : r.right >= 1 && r.right <= w && r.bottom >= 1 && r.bottom <= h;
        if (r.left != 0 || r.top != 0 || !fits) return "the rectangle is not the size placing asked for";
        if (tb_GetBitmapWidth(b) != r.right || tb_GetBitmapHeight(b) != r.bottom) return "the bitmap is not its rectangle";
        return "";
    }
    std::string why = MustRefuse(file);
    if (!why.empty()) return "accepted a file to refuse (" + why + ")";
    StatedSize(file, &w, &h);
    if (r.left != 0 || r.top != 0 || r.right != w || r.bottom != h) return "the rectangle is not the stated size";
    if (tb_GetBitmapWidth(b) != w || tb_GetBitmapHeight(b) != h) return "the bitmap is not the stated size";
    return "";
}

// The reader's verdict alone (the bitmap disposed of): 1 taken, 0 refused; problem gets what
// CheckReader found.
inline int ReaderTakes(const std::string& path, const Bytes& file, std::string* problem,
                       const TB_PictureNeed* need = nullptr)
{
    int index;
    *problem = CheckReader(path, file, &index, need);
    if (index < 0) return 0;
    tb_DisposeBitmap(index);
    return 1;
}

// What the gallery's preview reads a picture as.
inline TB_PictureNeed PreviewNeed() { return TB_PictureNeed{TB_FIT_SCALE, 280, 217}; }

// Open, from the moment the dialog has opened the chosen file: pictures_OpenChosen.
inline std::string CheckOpen(const std::string& path, const Bytes& file, BoxScript& boxes, bool* taken)
{
    std::string problem;
    TB_PictureNeed need = pictures_PlacingNeed();
    int expected = ReaderTakes(path, file, &problem, &need);
    if (!problem.empty()) return "reader: " + problem;
    Slots before = FreeSlots();
    Bytes canvas = Storage(scene.canvasBitmap), undo = Storage(scene.undoBitmap);
    size_t shown = boxes.count();
    std::vector<char> name(path.begin(), path.end());
    name.push_back(0);
    if (tb_OpenFileToRead(name.data(), 0) != 1) return "the file could not be opened";
    int placed = pictures_OpenChosen();
    *taken = placed == 1;
    if (tb.file != INVALID_HANDLE_VALUE) return "Open left the channel open";
    if (!(FreeSlots() == before)) return "Open kept a slot";
    if (placed != expected) return expected ? "Open refused a file the reader takes" : "Open took a file the reader refuses";
    if (!placed) {
        if (boxes.count() != shown + 1 || boxes.lastText() != kIncompatibleFile) return "no \"Incompatible File\" message";
        if (Storage(scene.canvasBitmap) != canvas) return "a refused file changed the canvas";
        if (Storage(scene.undoBitmap) != undo) return "a refused file changed the undo copy";
    } else {
        if (boxes.count() != shown) return "a message after a picture was opened";
        if (Storage(scene.undoBitmap) != Storage(scene.canvasBitmap)) return "no undo snapshot of the opened picture";
    }
    return "";
}

// The gallery's preview area and the one-entry gallery of folder + name.
const RECT kPreviewArea = {64, 44, 344, 261};

inline void OneEntryGallery(const std::string& folder, const char* name)
{
    lstrcpynA(scene.browseFolder, folder.c_str(), sizeof scene.browseFolder);
    for (GalleryEntry& e : gallery.entries) {
        e.valid = 0;
        e.name[0] = 0;
    }
    lstrcpynA(gallery.entries[0].name, name, sizeof gallery.entries[0].name);
    gallery.entries[0].valid = 1;
    gallery.count = 1;
    gallery.position = 0;
}

// The preview of folder + name (which holds file) drawn on face (a 408 x 417 bitmap); refusal is
// the preview area as a file of no bytes leaves it, taken once by the caller with PreviewArea.
inline Bytes PreviewArea(const std::string& folder, const char* name, int face)
{
    OneEntryGallery(folder, name);
    pictures_DrawGallery(face);
    return Area(face, kPreviewArea);
}

inline std::string CheckPreview(const std::string& folder, const char* name, const Bytes& file, int face,
                                const Bytes& refusal, bool* taken)
{
    std::string problem;
    TB_PictureNeed need = PreviewNeed();
    int expected = ReaderTakes(folder + name, file, &problem, &need);
    if (!problem.empty()) return "reader: " + problem;
    Slots before = FreeSlots();
    Bytes area = PreviewArea(folder, name, face);
    if (tb.file != INVALID_HANDLE_VALUE) return "the preview left the channel open";
    if (!(FreeSlots() == before)) return "the preview kept a slot";
    *taken = area != refusal;
    if (*taken != (expected == 1))
        return expected ? "the preview refused a file the reader takes" : "the preview shows a file the reader refuses";
    return "";
}

// New's coloring pages, from the moment the gallery dialog was answered with the choose button:
// the Pages folder holds only "blank.bmp" (this file).
inline std::string CheckPages(const std::string& folder, const Bytes& file, BoxScript& boxes, bool* taken)
{
    std::string path = folder + "blank.bmp";
    std::string problem;
    TB_PictureNeed need = pictures_PlacingNeed();
    int expected = ReaderTakes(path, file, &problem, &need);
    if (!problem.empty()) return "reader: " + problem;
    lstrcpynA(scene.browseFolder, folder.c_str(), sizeof scene.browseFolder);
    gallery.position = 0;
    pictures_EnumerateGallery();
    if (gallery.count != 1 || lstrcmpA(gallery.entries[0].name, "blank.bmp") != 0) return "the page is not listed";
    Slots before = FreeSlots();
    Bytes canvas = Storage(scene.canvasBitmap);
    size_t shown = boxes.count();
    scene.modified = 0;
    int loaded = -1;
    int result = pictures_LoadGalleryEntry(&loaded);
    *taken = loaded == 1;
    if (result != 1) return "the load did not end with 1";
    if (tb.file != INVALID_HANDLE_VALUE) return "the load left the channel open";
    if (!(FreeSlots() == before)) return "the load kept a slot";
    // A page read as a JPEG, GIF or TIFF keeps only its file name: it is never saved under its own.
    const bool bmpOrPng = file.size() >= 4 && ((file[0] == 'B' && file[1] == 'M') ||
                                               (file[0] == 0x89 && file[1] == 'P' && file[2] == 'N' && file[3] == 'G'));
    const std::string name = loaded == 1 && !bmpOrPng ? "blank.bmp" : path;
    if (lstrcmpiA(scene.fileName, name.c_str()) != 0) return "the picture name is not " + name;
    if (loaded != expected) return expected ? "a page the reader takes was refused" : "a page the reader refuses was taken";
    if (!loaded) {
        if (boxes.count() != shown + 1 || boxes.lastText() != kCouldNotOpen) return "no \"Could not open\" message";
        if (Storage(scene.canvasBitmap) != canvas) return "a refused page changed the canvas";
    } else if (boxes.count() != shown) {
        return "a message after a page was loaded";
    }
    return "";
}

}  // namespace mutate
