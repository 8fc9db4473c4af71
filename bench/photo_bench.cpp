// A 24-megapixel photo (6000 x 4000 JPEG) opened onto the 1920 x 1080 room's canvas with the
// stretch preference on (scaled to the canvas) and off (its middle at its own size), and shown in
// the gallery's preview: the time from the chosen file to the picture on the canvas, the processor
// time, and the peak private memory of a process that does only that.
//
//   photo_bench.exe [--photo PATH]   PATH: another picture to open (default: a photo-like JPEG
//                                     made here by the imaging component's own encoder)
// Each measurement runs in a process of its own (this program started again with --one), so that
// its peak memory is its own.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <wincodec.h>

#include "bench_util.h"
#include "pictures/picture_files.h"

namespace {

const int kPhotoWidth = 6000, kPhotoHeight = 4000;

double Seconds(const FILETIME& t) { return (double)(((ULONGLONG)t.dwHighDateTime << 32) | t.dwLowDateTime) / 1e7; }

double ProcessorSeconds(void)
{
    FILETIME created, ended, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    return Seconds(kernel) + Seconds(user);
}

double PeakPrivateMB(void)
{
    typedef BOOL(WINAPI * MemoryInfoProc)(HANDLE, PROCESS_MEMORY_COUNTERS*, DWORD);
    MemoryInfoProc info = (MemoryInfoProc)(void*)tb_SystemProc("PSAPI", "GetProcessMemoryInfo");
    PROCESS_MEMORY_COUNTERS_EX c = {};
    c.cb = sizeof c;
    if (!info || !info(GetCurrentProcess(), (PROCESS_MEMORY_COUNTERS*)&c, sizeof c)) return 0;
    return c.PeakPagefileUsage / 1048576.0;
}

// A photo-like picture (smooth light, some grain), encoded band by band so that this process never
// holds it whole. False when the imaging component cannot write a JPEG.
bool MakePhoto(const char* path)
{
    const GUID jpeg = {0x19e4a5aa, 0x5662, 0x4fc5, {0xa0, 0xc0, 0x17, 0x58, 0x02, 0x8e, 0x10, 0x57}};
    const GUID bgr24 = {0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x0c}};
    const GUID factoryClass = {0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};
    IWICImagingFactory* factory = nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    bool ok = false;
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH);
    typedef HRESULT(WINAPI * CreateProc)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
    CreateProc create = (CreateProc)(void*)tb_SystemProc("OLE32", "CoCreateInstance");
    if (create &&
        SUCCEEDED(create(factoryClass, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IWICImagingFactory), (void**)&factory)) &&
        SUCCEEDED(factory->CreateStream(&stream)) && SUCCEEDED(stream->InitializeFromFilename(wide, GENERIC_WRITE)) &&
        SUCCEEDED(factory->CreateEncoder(jpeg, nullptr, &encoder)) &&
        SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
        SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
        SUCCEEDED(frame->SetSize(kPhotoWidth, kPhotoHeight))) {
        WICPixelFormatGUID format = bgr24;
        ok = SUCCEEDED(frame->SetPixelFormat(&format)) && format == bgr24;
        const int band = 64, stride = kPhotoWidth * 3;
        std::vector<BYTE> rows((size_t)stride * band);
        unsigned grain = 12345;
        for (int y = 0; ok && y < kPhotoHeight; y += band) {
            int n = kPhotoHeight - y < band ? kPhotoHeight - y : band;
            for (int k = 0; k < n; ++k) {
                BYTE* p = rows.data() + (size_t)k * stride;
                for (int x = 0; x < kPhotoWidth; ++x, p += 3) {
                    grain = grain * 1103515245u + 12345u;
                    int g = (int)(grain >> 27) - 16;
                    int sky = (y + k) * 200 / kPhotoHeight, sun = (x - 4000) * (x - 4000) / 200000;
                    p[0] = (BYTE)std::max(0, std::min(255, 230 - sky + g));
                    p[1] = (BYTE)std::max(0, std::min(255, 120 + sky / 2 - sun / 4 + g));
                    p[2] = (BYTE)std::max(0, std::min(255, 60 + sky - sun / 8 + g));
                }
            }
            ok = SUCCEEDED(frame->WritePixels((UINT)n, (UINT)stride, (UINT)(stride * n), rows.data()));
        }
        ok = ok && SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    }
    if (frame) frame->Release();
    if (encoder) encoder->Release();
    if (stream) stream->Release();
    if (factory) factory->Release();
    return ok;
}

int StretchOn(void) { return 1; }
int StretchOff(void) { return 0; }

// One measurement in this process: "open-on", "open-off" or "preview".
int MeasureOne(const char* what, const char* photo)
{
    int window = bench_OpenWindow("PhotoBench");
    if (window < 0) return 1;
    bench_StartScene(window);
    double cpu = ProcessorSeconds(), peakBefore = PeakPrivateMB();
    double start = bench_Now();
    int ok;
    if (strcmp(what, "preview") == 0) {
        lstrcpynA(scene.browseFolder, photo, sizeof scene.browseFolder);
        char* slash = strrchr(scene.browseFolder, '\\');
        if (slash) slash[1] = 0;
        lstrcpynA(gallery.entries[0].name, strrchr(photo, '\\') ? strrchr(photo, '\\') + 1 : photo,
                  sizeof gallery.entries[0].name);
        gallery.entries[0].valid = 1;
        gallery.count = 1;
        gallery.position = 0;
        RECT faceRect = {0, 0, 408, 417};
        int face = tb_CreateBitmap(&faceRect, 0, 24);
        pictures_DrawGallery(face);
        GdiFlush();
        ok = face >= 0;
        tb_DisposeBitmap(face);
    } else {
        picturePreferences.stretch = strcmp(what, "open-on") == 0 ? StretchOn : StretchOff;
        lstrcpynA(scene.fileName, photo, sizeof scene.fileName);
        char path[MAX_PATH];
        lstrcpynA(path, photo, sizeof path);
        ok = tb_OpenFileToRead(path, 0) == 1 && pictures_OpenChosen() == 1;
        GdiFlush();
    }
    double ms = bench_Now() - start;
    std::printf("%-52s %s  %7.0f ms  processor %6.0f ms  peak private %6.1f MB (%.1f MB before)\n",
                strcmp(what, "preview") == 0  ? "gallery preview (280x217)"
                : strcmp(what, "open-on") == 0 ? "Open, stretch on (scaled to the canvas)"
                                               : "Open, stretch off (its middle at its own size)",
                ok ? "placed" : "FAILED", ms, (ProcessorSeconds() - cpu) * 1000, PeakPrivateMB(), peakBefore);
    std::fflush(stdout);
    bench_Close(window);
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    tb_StartPictureCodecs();
    std::string photo;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (strcmp(argv[i], "--one") == 0 && i + 2 < argc) return MeasureOne(argv[i + 1], argv[i + 2]);
        if (strcmp(argv[i], "--photo") == 0) photo = argv[i + 1];
    }
    bool made = photo.empty();
    if (made) {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        photo = std::string(temp) + "tintwell_bench_photo.jpg";
        double start = bench_Now();
        if (!MakePhoto(photo.c_str())) {
            std::printf("the imaging component could not write the photo\n");
            return 1;
        }
        HANDLE f = CreateFileA(photo.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        LARGE_INTEGER size = {};
        GetFileSizeEx(f, &size);
        CloseHandle(f);
        std::printf("photo: %dx%d JPEG of %.1f MB made in %.0f ms\n", kPhotoWidth, kPhotoHeight,
                    size.QuadPart / 1048576.0, bench_Now() - start);
    }
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    int window = bench_OpenWindow("PhotoBench");
    if (window >= 0) {
        bench_StartScene(window);
        bench_PrintLayout();
        bench_Close(window);
    }
    int failed = 0;
    for (const char* what : {"open-on", "open-off", "preview", "open-on", "open-off", "preview"}) {
        std::string command = std::string("\"") + self + "\" --one " + what + " \"" + photo + "\"";
        std::vector<char> line(command.begin(), command.end());
        line.push_back(0);
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi;
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
            std::printf("could not start %s\n", command.c_str());
            return 1;
        }
        WaitForSingleObject(pi.hProcess, INFINITE);
        DWORD code = 1;
        GetExitCodeProcess(pi.hProcess, &code);
        failed += code != 0;
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    if (made) DeleteFileA(photo.c_str());
    tb_StopPictureCodecs();
    return failed ? 1 : 0;
}
