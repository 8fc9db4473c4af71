// The file channel (one current file), its Save As and Open dialogs, replacing a file only once it
// is whole, and the preferences file.
#include <cstring>

#include "tb_internal.h"

#include <cderr.h>
#include <commdlg.h>

namespace {

// The Save As offers two types: the program's own BMP (first, the default) and PNG.
const char kSaveFilter[] = "Marrowby, Tintwell 1.0 (*.bmp)\0*.bmp\0PNG picture (*.png)\0*.png\0";
const char* const kSaveExtensions[] = {".bmp", ".png"};
const DWORD kDialogFlags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_NONETWORKBUTTON |
                           OFN_LONGNAMES;
const int kPathLength = 256;

// The Open dialog's types: the program's own BMP first, then every picture file it lists.
const char* OpenFilter(void)
{
    static char filter[160];
    if (filter[0]) return filter;
    const char own[] = "Marrowby, Tintwell 1.0 (*.bmp)\0*.bmp\0All pictures\0";
    char* p = filter;
    memcpy(p, own, sizeof own - 1);
    p += sizeof own - 1;
    for (const char* const* e = tb_PictureExtensions(); *e; ++e) {
        if (e != tb_PictureExtensions()) *p++ = ';';
        *p++ = '*';
        for (const char* c = *e; *c; ++c) *p++ = *c;
    }
    p[0] = 0;
    p[1] = 0;
    return filter;
}

void FillDialog(OPENFILENAMEA* ofn, char* buffer, const char* title, const char* filter)
{
    memset(ofn, 0, sizeof *ofn);
    ofn->lStructSize = sizeof *ofn;
    ofn->hwndOwner = tb.mainWindow;
    ofn->lpstrFilter = filter;
    ofn->nFilterIndex = 1;
    ofn->lpstrFile = buffer;
    ofn->nMaxFile = kPathLength;
    ofn->lpstrInitialDir = tb.dialogFolder;
    ofn->lpstrTitle = title;
    ofn->lpstrDefExt = "bmp";
    ofn->Flags = kDialogFlags;
}

const char* NamePart(const char* path)
{
    const char* slash = strrchr(path, '\\');
    return slash ? slash + 1 : path;
}

// The Save As type (0 BMP, 1 PNG) a name's extension stands for, or -1 for neither.
int SaveTypeOf(const char* name)
{
    const char* dot = strrchr(NamePart(name), '.');
    for (int t = 0; t < 2; ++t)
        if (dot && lstrcmpiA(dot, kSaveExtensions[t]) == 0) return t;
    return -1;
}

// The chosen path made to end in ".bmp" or ".png": a name typed with one of them keeps it; the
// offered name left as it was, or a name without either, takes the chosen type's (in place of a
// picture extension the program does not write, such as ".jpg", else added). False when the path
// would no longer fit.
bool EndInSaveType(char* path, const char* offered, int type)
{
    int own = SaveTypeOf(path);
    char* name = (char*)NamePart(path);
    if (own == type) return true;
    if (own >= 0 && lstrcmpiA(name, NamePart(offered)) != 0) return true;
    char* dot = strrchr(name, '.');
    if (dot && (own >= 0 || tb_IsPictureName(name))) *dot = 0;
    if (lstrlenA(path) + lstrlenA(kSaveExtensions[type]) >= kPathLength) return false;
    lstrcatA(path, kSaveExtensions[type]);
    return true;
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
    tb.writeFailed = 0;
    return 1;
}

}  // namespace

// The common dialogs' calls, found when first needed.
typedef BOOL(WINAPI* FileDialogProc)(LPOPENFILENAMEA);

static BOOL tb_FileDialog(const char* name, OPENFILENAMEA* ofn)
{
    FileDialogProc dialog = (FileDialogProc)(void*)tb_SystemProc("COMDLG32", name);
    return dialog ? dialog(ofn) : FALSE;
}

static DWORD tb_FileDialogError(void)
{
    typedef DWORD(WINAPI * ErrorProc)(void);
    ErrorProc extendedError = (ErrorProc)(void*)tb_SystemProc("COMDLG32", "CommDlgExtendedError");
    return extendedError ? extendedError() : 0;
}

int tb_AskFileToWrite(char* path) { return tb_AskFileToWrite(path, nullptr); }

int tb_AskFileToWrite(char* path, const char* folder)
{
    char buffer[kPathLength] = {};
    lstrcpynA(buffer, NamePart(path), sizeof buffer);
    OPENFILENAMEA ofn;
    FillDialog(&ofn, buffer, "Save As", kSaveFilter);
    if (folder) ofn.lpstrInitialDir = folder;
    // The type of the offered name is the one selected.
    ofn.nFilterIndex = SaveTypeOf(buffer) == 1 ? 2 : 1;
    if (!tb_FileDialog("GetSaveFileNameA", &ofn)) return SaveDialogError(tb_FileDialogError());
    if (!EndInSaveType(buffer, path, ofn.nFilterIndex == 2 ? 1 : 0)) return 0;
    lstrcpynA(path, buffer, kPathLength);
    return 1;
}

int tb_OpenFileToWrite(char* path, int ask)
{
    if (ask) {
        int chosen = tb_AskFileToWrite(path);
        if (chosen != 1) return chosen;
    }
    return OpenCurrent(path, GENERIC_WRITE, CREATE_ALWAYS);
}

int tb_OpenFileToReplace(const char* path)
{
    tb_CloseFile();
    if (!path || !*path || lstrlenA(path) >= MAX_PATH) return -1;
    char folder[MAX_PATH];
    lstrcpynA(folder, path, sizeof folder);
    char* slash = strrchr(folder, '\\');
    char* other = strrchr(folder, '/');
    if (other && (!slash || other > slash)) slash = other;
    if (slash) {
        slash[1] = 0;
    } else {
        lstrcpyA(folder, ".");
    }
    char temp[MAX_PATH];
    if (!GetTempFileNameA(folder, "twk", 0, temp)) return -1;
    // The name comes as an empty file. Opened as it is, not truncated: on some systems a file cut
    // to nothing is written out to the disk as it closes, and the close then waits for that.
    if (OpenCurrent(temp, GENERIC_WRITE, OPEN_EXISTING) != 1) {
        DeleteFileA(temp);
        return -1;
    }
    lstrcpynA(tb.replaceTarget, path, sizeof tb.replaceTarget);
    lstrcpynA(tb.replaceTemp, temp, sizeof tb.replaceTemp);
    return 1;
}

// Before a commit: a second name, temporary, for the file it replaces (false when there is none).
static bool tb_LinkOld(char* spare)
{
    if (GetFileAttributesA(tb.replaceTarget) == INVALID_FILE_ATTRIBUTES) return false;
    char folder[MAX_PATH];
    lstrcpynA(folder, tb.replaceTemp, sizeof folder);
    char* slash = strrchr(folder, '\\');
    if (!slash) return false;
    slash[1] = 0;
    // A free temporary name: the one the system makes is let go for the link to take it.
    if (!GetTempFileNameA(folder, "twk", 0, spare)) return false;
    DeleteFileA(spare);
    return CreateHardLinkA(spare, tb.replaceTarget, nullptr) != 0;
}

// After it: the replaced file, now under its temporary name alone, opened to be written over as
// the next replacing file of the same path; removed when that cannot be.
static void tb_KeepOld(const char* spare, bool committed, TB_KeptFile* old)
{
    HANDLE file = INVALID_HANDLE_VALUE;
    if (committed) file = CreateFileA(spare, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DeleteFileA(spare);
        return;
    }
    old->file = file;
    old->writeFailed = 0;
    lstrcpynA(old->target, tb.replaceTarget, sizeof old->target);
    lstrcpynA(old->temp, spare, sizeof old->temp);
}

static int tb_Commit(bool wait, TB_KeptFile* old)
{
    if (old) {
        old->file = nullptr;
        old->temp[0] = 0;
    }
    if (tb.file == INVALID_HANDLE_VALUE) return 0;
    bool ok = !tb.writeFailed && (!wait || FlushFileBuffers(tb.file));
    CloseHandle(tb.file);
    tb.file = INVALID_HANDLE_VALUE;
    if (tb.replaceTemp[0]) {
        char spare[MAX_PATH];
        const bool linked = ok && old && tb_LinkOld(spare);
        const DWORD flags = MOVEFILE_REPLACE_EXISTING | (wait ? MOVEFILE_WRITE_THROUGH : 0);
        if (ok) ok = MoveFileExA(tb.replaceTemp, tb.replaceTarget, flags);
        if (!ok) DeleteFileA(tb.replaceTemp);
        if (linked) tb_KeepOld(spare, ok, old);
        tb.replaceTemp[0] = 0;
        tb.replaceTarget[0] = 0;
    }
    return ok ? 1 : 0;
}

int tb_CommitFile(void) { return tb_Commit(true, nullptr); }

int tb_CommitFileNoWait(void) { return tb_Commit(false, nullptr); }

int tb_CommitFileKeepingOld(TB_KeptFile* old) { return tb_Commit(false, old); }

int tb_OpenFileToRead(char* path, int ask)
{
    if (ask) {
        char buffer[kPathLength] = "*.bmp";
        OPENFILENAMEA ofn;
        FillDialog(&ofn, buffer, "Open", OpenFilter());
        if (!tb_FileDialog("GetOpenFileNameA", &ofn)) return -1;
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

static TB_FileWriter fileWriter = nullptr;

void tb_SetFileWriter(TB_FileWriter writer) { fileWriter = writer; }

int tb_WriteFile(const void* buffer, DWORD count)
{
    if (tb.file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    BOOL ok = (fileWriter ? fileWriter : WriteFile)(tb.file, buffer, count, &written, nullptr);
    if (ok && written == count) return 0;
    tb.writeFailed = 1;
    return 1;
}

int tb_ReadFile(void* buffer, DWORD count)
{
    if (tb.file == INVALID_HANDLE_VALUE) return 1;
    DWORD got = 0;
    return ReadFile(tb.file, buffer, count, &got, nullptr) ? 0 : 1;
}

void tb_CloseFile(void)
{
    TB_KeptFile kept;
    tb_KeepFile(&kept);
    // A replacing file closed without its commit is thrown away; its target stays as it was.
    tb_DiscardFile(&kept);
}

void tb_KeepFile(TB_KeptFile* kept)
{
    kept->file = tb.file == INVALID_HANDLE_VALUE ? nullptr : tb.file;
    kept->writeFailed = tb.writeFailed;
    lstrcpynA(kept->target, tb.replaceTarget, sizeof kept->target);
    lstrcpynA(kept->temp, tb.replaceTemp, sizeof kept->temp);
    tb.file = INVALID_HANDLE_VALUE;
    tb.replaceTemp[0] = 0;
    tb.replaceTarget[0] = 0;
}

int tb_ResumeFile(TB_KeptFile* kept, DWORD at)
{
    tb_CloseFile();
    LARGE_INTEGER to;
    to.QuadPart = at;
    if (!kept->file || !SetFilePointerEx(kept->file, to, nullptr, FILE_BEGIN)) {
        tb_DiscardFile(kept);
        return -1;
    }
    tb.file = kept->file;
    tb.writeFailed = kept->writeFailed;
    lstrcpynA(tb.replaceTarget, kept->target, sizeof tb.replaceTarget);
    lstrcpynA(tb.replaceTemp, kept->temp, sizeof tb.replaceTemp);
    kept->file = nullptr;
    kept->temp[0] = 0;
    return 1;
}

void tb_DiscardFile(TB_KeptFile* kept)
{
    if (kept->file) CloseHandle(kept->file);
    if (kept->temp[0]) DeleteFileA(kept->temp);
    kept->file = nullptr;
    kept->temp[0] = 0;
}

void tb_SetFileDialogFolder(const char* path)
{
    lstrcpynA(tb.dialogFolder, path ? path : "", sizeof tb.dialogFolder);
}
