// The recovery copy: "picture.bmp" (the canvas as the toolbox writes pictures) and "name.txt" (the
// picture's name, one line) in the user's own application data. It is written on the program's
// one thread from the idle tick, a slice of at most a millisecond at a time straight from the
// canvas, once the pointer has rested for two seconds; at once and whole when the session ends.
// Every file goes through the replacing channel, so a copy is either whole or the one before it.
#include "pictures/recovery.h"

#include <shlobj.h>

#include <cstring>

#include "pictures/picture_files.h"
#include "scene/scene.h"
#include "toolbox.h"

Recovery recovery = {"", 1, 2000, 0, RECOVERY_CURRENT, 0, 0, 0, 0, 0, 0, "", {}};

namespace {

const char kPicture[] = "picture.bmp";
const char kRestoring[] = "picture.restoring";
const char kName[] = "name.txt";
const DWORD kChunk = 16 * 1024;  // bytes per write inside a slice: what an event may wait for

void PathOf(const char* file, char* path)
{
    lstrcpynA(path, recovery_Folder(), MAX_PATH);
    int used = lstrlenA(path);
    lstrcpynA(path + used, file, MAX_PATH - used);
}

long long Now(void)
{
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

long long SliceTicks(void)
{
    if (recovery.sliceTicks) return recovery.sliceTicks;
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart / 1000;
}

// Input or a message waits: the slice gives the thread back to it.
bool InputWaiting(void) { return HIWORD(GetQueueStatus(QS_INPUT | QS_POSTMESSAGE)) != 0; }

// Whole at once (the session ends, the window closes): the files are on the disk before the
// program goes on. A slice at a time: they are handed to the system, which writes them out a
// moment later, for a wait for the disk would stop the room for as long as the disk takes.
int Commit(bool atOnce) { return atOnce ? tb_CommitFile() : tb_CommitFileNoWait(); }

bool WriteName(bool atOnce)
{
    char path[MAX_PATH];
    PathOf(kName, path);
    if (tb_OpenFileToReplace(path) != 1) return false;
    char line[sizeof scene.fileName + 2];
    wsprintfA(line, "%s\r\n", scene.fileName);
    tb_WriteFile(line, (DWORD)lstrlenA(line));
    if (Commit(atOnce) != 1) return false;
    lstrcpynA(recovery.name, scene.fileName, sizeof recovery.name);
    return true;
}

// The picture's temporary file thrown away (at a pause or a clean ending, never under a press).
void Discard(void)
{
    tb_DiscardFile(&recovery.file);
    recovery.opened = 0;
    recovery.extent = 0;
}

// The copy before stays whole; nothing is said. (The name's file is closed by its own commit.)
void Fail(void)
{
    Discard();
    recovery.writing = 0;
    recovery.copy = RECOVERY_FAILED;
}

// The first step: the name, unless its file holds it already (the disk's metadata is slow to change,
// and the step is taken at the moment the child may come back). Whole at once it is written anyway,
// for the disk to hold it before the program goes on.
bool Begin(bool atOnce)
{
    recovery.soon = 0;
    recovery.writing = 0;
    if (!recovery_Folder()[0] || scene.canvasBitmap < 0) {
        Fail();
        return false;
    }
    if ((atOnce || lstrcmpA(recovery.name, scene.fileName) != 0) && !WriteName(atOnce)) {
        recovery.name[0] = 0;
        Fail();
        return false;
    }
    recovery.writing = 1;
    recovery.written = 0;
    return true;
}

// The second: the picture's temporary file, made unless a stopped copy left it; kept off the channel.
bool Open(void)
{
    if (recovery.opened) return true;
    char path[MAX_PATH];
    PathOf(kPicture, path);
    if (tb_OpenFileToReplace(path) != 1) {
        Fail();
        return false;
    }
    tb_KeepFile(&recovery.file);
    recovery.opened = 1;
    recovery.extent = 0;
    return true;
}

// The whole picture written: the file put in place. A slice at a time, the copy it replaces stays
// open as the file of the next copy.
void Finish(bool atOnce)
{
    recovery.writing = 0;
    const int committed = atOnce ? tb_CommitFile() : tb_CommitFileKeepingOld(&recovery.file);
    recovery.copy = committed == 1 ? RECOVERY_CURRENT : RECOVERY_FAILED;
    recovery.opened = recovery.file.file != nullptr;
    LARGE_INTEGER size;
    recovery.extent = !recovery.opened ? 0 : GetFileSizeEx(recovery.file.file, &size) ? (DWORD)size.QuadPart : MAXDWORD;
}

// Writes on until the picture is whole, the slice's time is up or input waits (unlimited: whole).
void WriteOn(bool unlimited)
{
    if (tb_ResumeFile(&recovery.file, recovery.written) != 1) return Fail();
    const long long start = Now(), budget = SliceTicks();
    long long longest = 0;
    for (;;) {
        const long long before = Now();
        int done = tb_WriteBitmapPart(scene.canvasBitmap, &recovery.written, kChunk);
        if (done < 0) {
            tb_CloseFile();
            return Fail();
        }
        if (recovery.written > recovery.extent) recovery.extent = recovery.written;
        if (done == 1 && recovery.written < recovery.extent) {
            // The picture is smaller than the stopped copy that left the file: a new file, so that
            // nothing of the old one stays behind the new picture.
            tb_CloseFile();
            Discard();
            recovery.written = 0;
            if (unlimited && Open()) WriteOn(true);
            return;
        }
        if (done == 1) return Finish(unlimited);
        if (unlimited) continue;
        const long long now = Now();
        if (now - before > longest) longest = now - before;
        if (now - start + longest > budget || InputWaiting()) return tb_KeepFile(&recovery.file);
    }
}

// The first line of name.txt, when it is one: a file name or a path that fits the picture's name.
bool ReadName(char* name, int size)
{
    char path[MAX_PATH];
    PathOf(kName, path);
    char text[sizeof scene.fileName + 3] = {};
    bool read = tb_OpenFileToRead(path, 0) == 1 && tb_ReadFile(text, sizeof text - 1) == 0;
    tb_CloseFile();
    if (!read) return false;
    char* end = strpbrk(text, "\r\n");
    if (!end) return false;
    *end = 0;
    if (!text[0] || lstrlenA(text) >= size) return false;
    for (const char* p = text; *p; ++p)
        if ((unsigned char)*p < ' ') return false;
    lstrcpynA(name, text, size);
    return true;
}

}  // namespace

const char* recovery_Folder(void)
{
    if (recovery.folder[0]) return recovery.folder;
    char local[MAX_PATH] = {};
    typedef HRESULT(WINAPI * FolderProc)(HWND, int, HANDLE, DWORD, LPSTR);
    FolderProc folderPath = (FolderProc)(void*)tb_SystemProc("SHELL32", "SHGetFolderPathA");
    if (!folderPath ||
        folderPath(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, local) != S_OK)
        return recovery.folder;
    char folder[MAX_PATH];
    if (lstrlenA(local) + 22 >= MAX_PATH) return recovery.folder;
    wsprintfA(folder, "%s\\Tintwell\\", local);
    CreateDirectoryA(folder, nullptr);
    lstrcatA(folder, "Recovery\\");
    CreateDirectoryA(folder, nullptr);
    lstrcpynA(recovery.folder, folder, sizeof recovery.folder);
    return recovery.folder;
}

void recovery_NoteInput(int mayChange)
{
    recovery.lastInput = tb_GetTime();
    if (!mayChange) return;
    // What was written no longer shows the picture: it never becomes the copy. Its file stays open
    // for the next pause to write over.
    recovery.writing = 0;
    recovery.copy = RECOVERY_DUE;
}

// One step per tick: the name, the picture's file opened, then slices.
void recovery_Idle(void)
{
    if (!recovery.enabled) return;
    if (recovery.writing) {
        if (!recovery.opened) {
            Open();
            return;
        }
        return WriteOn(false);
    }
    if (recovery.copy != RECOVERY_DUE || !scene.modified) return;
    if (!recovery.soon && tb_GetTime() - recovery.lastInput < recovery.pause) return;
    Begin(false);
}

void recovery_WriteSoon(void)
{
    if (recovery.copy == RECOVERY_DUE) recovery.soon = 1;
}

int recovery_WriteNow(void)
{
    if (!recovery.enabled || !scene.modified) return 1;
    if (recovery.copy == RECOVERY_CURRENT && !recovery.writing) return 1;
    if (Begin(true) && Open()) WriteOn(true);
    return recovery.copy == RECOVERY_CURRENT;
}

void recovery_Remove(void)
{
    Discard();
    recovery.writing = 0;
    recovery.copy = RECOVERY_CURRENT;
    recovery.soon = 0;
    recovery.name[0] = 0;
    if (!recovery_Folder()[0]) return;
    char path[MAX_PATH];
    PathOf(kPicture, path);
    DeleteFileA(path);
    PathOf(kName, path);
    DeleteFileA(path);
}

int recovery_Restore(void)
{
    if (!recovery.enabled || !recovery_Folder()[0]) return 0;
    char copy[MAX_PATH], restoring[MAX_PATH];
    PathOf(kPicture, copy);
    PathOf(kRestoring, restoring);
    if (!MoveFileExA(copy, restoring, MOVEFILE_REPLACE_EXISTING)) return 0;
    int loaded = -1;
    RECT rect;
    if (tb_OpenFileToRead(restoring, 0) == 1) loaded = tb_ReadBitmapFromFile(&rect);
    tb_CloseFile();
    if (loaded < 0) {
        PathOf(kName, copy);
        DeleteFileA(copy);
        return 0;
    }
    tb_CopyBitmap(loaded, scene.canvasBitmap, &rect, &scene.layout.picture);
    tb_DisposeBitmap(loaded);
    scene.undoAvailable = 0;
    scene.modified = 1;
    if (ReadName(scene.fileName, sizeof scene.fileName)) {
        lstrcpynA(recovery.name, scene.fileName, sizeof recovery.name);
    } else {
        lstrcpynA(scene.fileName, "Tintwell.bmp", sizeof scene.fileName);
        recovery.name[0] = 0;
    }
    // The copy was taken off its place to be read: a new one is written as soon as the loop runs.
    recovery.copy = RECOVERY_DUE;
    recovery.soon = 1;
    return 1;
}

void recovery_RoomIsUp(void)
{
    if (!recovery_Folder()[0]) return;
    char path[MAX_PATH];
    PathOf(kRestoring, path);
    DeleteFileA(path);
    // Half-written files of a run that ended before it could remove them.
    char pattern[MAX_PATH];
    PathOf("*.tmp", pattern);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        PathOf(found.cFileName, path);
        DeleteFileA(path);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}
