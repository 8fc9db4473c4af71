// The file channel (one current file), the preferences file, and pictures as Windows BMP files.
#include <cstring>

#include "tb_internal.h"

#include <cderr.h>
#include <commdlg.h>

namespace {

const char kFilter[] = "Marrowby, Tintwell 1.0 (*.bmp)\0*.bmp\0";
const DWORD kDialogFlags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_NONETWORKBUTTON |
                           OFN_LONGNAMES;
const int kPathLength = 256;

// Largest picture the reader accepts: each side at most 16384 pixels and the 24-bit pixel storage
// of the new bitmap at most 128 MB, well inside what a 32-bit process can map at once.
const int kMaxSide = 16384;
const long long kMaxPixelBytes = 128LL * 1024 * 1024;

void FillDialog(OPENFILENAMEA* ofn, char* buffer, const char* title)
{
    memset(ofn, 0, sizeof *ofn);
    ofn->lStructSize = sizeof *ofn;
    ofn->hwndOwner = tb.mainWindow;
    ofn->lpstrFilter = kFilter;
    ofn->nFilterIndex = 1;
    ofn->lpstrFile = buffer;
    ofn->nMaxFile = kPathLength;
    ofn->lpstrInitialDir = tb.dialogFolder;
    ofn->lpstrTitle = title;
    ofn->lpstrDefExt = "bmp";
    ofn->Flags = kDialogFlags;
}

// The result the Save As dialog's failure gives the caller of tb_OpenFileToWrite.
int SaveDialogError(DWORD error)
{
    switch (error) {
    case CDERR_STRUCTSIZE: return 17;
    case CDERR_INITIALIZATION: return 12;
    case CDERR_NOTEMPLATE: return 15;
    case CDERR_NOHINSTANCE: return 11;
    case CDERR_LOADSTRFAILURE: return 18;
    case CDERR_FINDRESFAILURE: return 10;
    case CDERR_LOADRESFAILURE: return 16;
    case CDERR_LOCKRESFAILURE: return 14;
    case CDERR_MEMALLOCFAILURE: return 20;
    case CDERR_MEMLOCKFAILURE: return 22;
    case CDERR_NOHOOK: return 13;
    case FNERR_SUBCLASSFAILURE: return 23;
    case FNERR_INVALIDFILENAME: return 21;
    case FNERR_BUFFERTOOSMALL: return 19;
    default: return 0;
    }
}

int OpenCurrent(const char* path, DWORD access, DWORD disposition)
{
    tb_CloseFile();
    HANDLE file = CreateFileA(path, access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    tb.file = file;
    return 1;
}

// Reads exactly count bytes from the current file; false on a failed or short read.
bool ReadAll(void* buffer, DWORD count)
{
    if (tb.file == INVALID_HANDLE_VALUE) return false;
    DWORD got = 0;
    return ReadFile(tb.file, buffer, count, &got, nullptr) && got == count;
}

DWORD Get32(const BYTE* p) { return p[0] | p[1] << 8 | p[2] << 16 | (DWORD)p[3] << 24; }
WORD Get16(const BYTE* p) { return (WORD)(p[0] | p[1] << 8); }
void Put32(BYTE* p, DWORD v)
{
    p[0] = (BYTE)v;
    p[1] = (BYTE)(v >> 8);
    p[2] = (BYTE)(v >> 16);
    p[3] = (BYTE)(v >> 24);
}

}  // namespace

int tb_OpenFileToWrite(char* path, int ask)
{
    if (ask) {
        char buffer[kPathLength] = {};
        const char* name = strrchr(path, '\\');
        lstrcpynA(buffer, name ? name + 1 : path, sizeof buffer);
        OPENFILENAMEA ofn;
        FillDialog(&ofn, buffer, "Save As");
        if (!GetSaveFileNameA(&ofn)) return SaveDialogError(CommDlgExtendedError());
        lstrcpynA(path, buffer, kPathLength);
    }
    return OpenCurrent(path, GENERIC_WRITE, CREATE_ALWAYS);
}

int tb_OpenFileToRead(char* path, int ask)
{
    if (ask) {
        char buffer[kPathLength] = "*.bmp";
        OPENFILENAMEA ofn;
        FillDialog(&ofn, buffer, "Open");
        if (!GetOpenFileNameA(&ofn)) return -1;
        lstrcpynA(path, buffer, kPathLength);
    }
    return OpenCurrent(path, GENERIC_READ, OPEN_EXISTING);
}

int tb_OpenPrefsToWrite(void)
{
    char path[MAX_PATH + 16];
    tb_PrefsPath(path, 1);
    return OpenCurrent(path, GENERIC_WRITE, CREATE_ALWAYS);
}

int tb_OpenPrefsToRead(void)
{
    char path[MAX_PATH + 16];
    tb_PrefsPath(path, 0);
    return OpenCurrent(path, GENERIC_READ, OPEN_EXISTING);
}

int tb_WriteFile(const void* buffer, DWORD count)
{
    if (tb.file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    return WriteFile(tb.file, buffer, count, &written, nullptr) ? 0 : 1;
}

int tb_ReadFile(void* buffer, DWORD count)
{
    if (tb.file == INVALID_HANDLE_VALUE) return 1;
    DWORD got = 0;
    return ReadFile(tb.file, buffer, count, &got, nullptr) ? 0 : 1;
}

void tb_CloseFile(void)
{
    if (tb.file != INVALID_HANDLE_VALUE) CloseHandle(tb.file);
    tb.file = INVALID_HANDLE_VALUE;
}

void tb_SetFileDialogFolder(const char* path)
{
    lstrcpynA(tb.dialogFolder, path ? path : "", sizeof tb.dialogFolder);
}

int tb_WriteBitmapToFile(int index)
{
    const TB_DIB* dib = index < 5000 ? tb_GetBitmapDIB(index) : nullptr;
    if (!dib || !dib->lpBits || grfx_BitCount(dib) != 24) {
        tb_ErrorBox("Invalid bitmap! (tb_WriteBitmapToFile)");
        return 0;
    }
    const BITMAPINFOHEADER& info = dib->lpBitmapInfo->bmiHeader;
    DWORD pixels = (DWORD)grfx_StorageWidth(info.biWidth, 24) * (DWORD)info.biHeight;
    BYTE header[14] = {'B', 'M'};
    Put32(header + 2, pixels + 54);
    Put32(header + 10, info.biSize + 14);
    GdiFlush();
    tb_WriteFile(header, sizeof header);
    tb_WriteFile(&info, sizeof info);
    tb_WriteFile(dib->lpBits, pixels);
    return 1;
}

// Accepted: a 14-byte file header and a 40-byte info header, then the pixels of a 24-bit image, or
// for an 8-bit image a 256-entry colour table and then its pixels. The pixel byte count is the
// file size less the pixel offset (both from the file header); the pixels are read straight after
// the headers (and table) wherever the offset points.
//
// Refused with -1, before any bitmap is made (nothing is left allocated or taken; the channel stays
// as it was, for the caller to close):
// - a file shorter than its headers, its colour table or its pixel byte count;
// - a bit count other than 24 or 8;
// - a width or height of zero or less (top-down files among them) or over 16384, or a 24-bit
//   pixel storage over 128 MB;
// - a pixel byte count that differs from what the image needs (stride x height, rows padded to
//   4 bytes, at the file's own depth), including a pixel offset beyond the file size;
// - an 8-bit file that is compressed or claims more than 256 colours (the system would read
//   beyond the 256 entries and the pixel bytes held). Its header-size and image-size fields are
//   replaced by 40 and 0 before the conversion, for the same reason;
// - no free bitmap slot (tb_CreateBitmap reports it), or memory that cannot be had.
int tb_ReadBitmapFromFile(RECT* rect)
{
    BYTE fileHeader[14];
    BYTE infoHeader[40];
    memset(fileHeader, 0, sizeof fileHeader);
    memset(infoHeader, 0, sizeof infoHeader);
    if (!ReadAll(fileHeader, sizeof fileHeader) || !ReadAll(infoHeader, sizeof infoHeader)) return -1;

    DWORD fileSize = Get32(fileHeader + 2);
    DWORD offset = Get32(fileHeader + 10);
    LONG width = (LONG)Get32(infoHeader + 4);
    LONG height = (LONG)Get32(infoHeader + 8);
    int bits = Get16(infoHeader + 14);
    if (bits != 24 && bits != 8) return -1;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return -1;
    long long stride24 = grfx_StorageWidth(width, 24);
    if (stride24 * height > kMaxPixelBytes) return -1;
    long long needed = (long long)grfx_StorageWidth(width, bits) * height;
    long long n = (long long)fileSize - (long long)offset;
    if (n != needed) return -1;

    BITMAPINFO* info = (BITMAPINFO*)GlobalAlloc(GPTR, sizeof(BITMAPINFOHEADER) + (bits == 8 ? 1024 : 0));
    if (!info) return -1;
    BITMAPINFOHEADER& h = info->bmiHeader;
    h.biSize = Get32(infoHeader + 0);
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = Get16(infoHeader + 12);
    h.biBitCount = (WORD)bits;
    h.biCompression = Get32(infoHeader + 16);
    h.biSizeImage = Get32(infoHeader + 20);
    h.biXPelsPerMeter = (LONG)Get32(infoHeader + 24);
    h.biYPelsPerMeter = (LONG)Get32(infoHeader + 28);
    h.biClrUsed = Get32(infoHeader + 32);
    h.biClrImportant = Get32(infoHeader + 36);
    if (bits == 8) {
        if (h.biCompression != BI_RGB || h.biClrUsed > 256 || !ReadAll(info->bmiColors, 1024)) {
            GlobalFree(info);
            return -1;
        }
        // The block holds a 40-byte header and exactly the pixel bytes the size describes, whatever
        // the file declared.
        h.biSize = sizeof(BITMAPINFOHEADER);
        h.biSizeImage = 0;
    }

    BYTE* pixels = (BYTE*)GlobalAlloc(GPTR, (SIZE_T)n);
    if (!pixels || !ReadAll(pixels, (DWORD)n)) {
        if (pixels) GlobalFree(pixels);
        GlobalFree(info);
        return -1;
    }

    RECT r = {0, 0, width, height};
    int index = tb_CreateBitmap(&r, 0, 24);
    TB_DIB* dib = index >= 0 ? tb_GetBitmapDIB(index) : nullptr;
    if (index >= 0 && (!dib || !dib->lpBits)) {
        tb_DisposeBitmap(index);
        index = -1;
    }
    if (index >= 0) {
        if (bits == 24) {
            memcpy(dib->lpBits, pixels, (size_t)n);
        } else {
            StretchDIBits(tb.bitmaps[index].dc, 0, 0, width, height, 0, 0, width, height, pixels, info,
                          DIB_RGB_COLORS, SRCCOPY);
            GdiFlush();
        }
    }
    GlobalFree(pixels);
    GlobalFree(info);
    if (index < 0) return -1;
    if (rect) SetRect(rect, 0, 0, width, height);
    return index;
}
