// The names pictures are offered under: a picture that has no name of its own (a fresh one, one
// started from a coloring page) is offered the first name of its kind that no picture in the
// Gallery folder has yet, so that saving with the offered name never replaces another picture.
#include "pictures/picture_files.h"

#include <cstring>

#include "scene/scene.h"

namespace {

const char kFreshName[] = "Tintwell.bmp";
const int kMostTries = 10000;

// The part of a path behind its last folder separator.
const char* FileNameOf(const char* path)
{
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
    return name;
}

bool Exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

bool pictures_HasOwnName(const char* name) { return FileNameOf(name) != name; }

bool pictures_FirstFreeName(const char* folder, const char* name, char* out, int size)
{
    char base[MAX_PATH];
    lstrcpynA(base, FileNameOf(name), sizeof base);
    char* dot = strrchr(base, '.');
    if (dot && dot != base) *dot = 0;
    if (!base[0]) lstrcpynA(base, "Tintwell", sizeof base);
    for (int n = 1; n <= kMostTries; ++n) {
        char candidate[MAX_PATH];
        if (n == 1)
            wsprintfA(candidate, "%s", base);
        else
            wsprintfA(candidate, "%s %d", base, n);
        bool taken = false;
        for (const char* const* e = tb_PictureExtensions(); *e && !taken; ++e) {
            char path[1024];
            wsprintfA(path, "%s%s%s", folder, candidate, *e);
            taken = Exists(path);
        }
        if (taken) continue;
        if (lstrlenA(candidate) + 4 >= size) return false;
        wsprintfA(out, "%s.bmp", candidate);
        return true;
    }
    return false;
}

void pictures_OfferedName(const char* folder, char* out, int size)
{
    if (pictures_HasOwnName(scene.fileName) || !pictures_FirstFreeName(folder, scene.fileName, out, size))
        lstrcpynA(out, scene.fileName, size);
}

void pictures_NameAfterRead(int format)
{
    if (format == TB_FORMAT_BMP || format == TB_FORMAT_PNG) return;
    char name[sizeof scene.fileName];
    lstrcpynA(name, FileNameOf(scene.fileName), sizeof name);
    lstrcpynA(scene.fileName, name, sizeof scene.fileName);
}

void pictures_NameAfterPage(const char* page)
{
    const char* name = FileNameOf(page);
    lstrcpynA(scene.fileName, lstrcmpiA(name, "blank.bmp") == 0 ? kFreshName : name, sizeof scene.fileName);
}
