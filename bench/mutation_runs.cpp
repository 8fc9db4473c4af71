// Seeded mutation runs, by hand: damaged BMP files, and damaged PNG, JPEG and GIF files, through
// the reader and the roads a child's picture takes (Open, the gallery's preview, New's coloring
// pages), preferences files of every length, and damaged "setup.inf" files read and installed by
// Setup's own code. Prints the counts per outcome, every file that broke a rule, with the seed and
// number that make it again, and the private bytes after the first twentieth of the files and at
// the end. A file that crashes a reader is kept beside the program's working folder.
//
//   mutation_runs.exe [--seed N] [--count N] [--what bmp|pictures|prefs|inf|all] [--installs-every N]
//                     [--seeds FOLDER]... [--only png|jpeg|gif] [--every N]
// Defaults: seed 1, count 100000 BMP files (pictures, prefs and inf: count / 10 each), every 25th
// INF installed. Seed pictures: the generated layouts of every depth and header, plus the .bmp
// files of each --seeds folder, and for the other run its .png, .jpg and .gif files (by default the
// test pictures of the build: tests\ToolBox\bitmaps and tests\ToolBox\foreign beside this
// program's folder); --only keeps the seeds of one of those formats. Every N files (10000 unless
// --every says) a line with the time and the private bytes so far.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "bench_util.h"
#include "mutate.h"
#include "mutate_checks.h"
#include "mutate_setup.h"
#include "pictures/preferences.h"
#include "setup/setup_test_util.h"

namespace {

uint64_t g_seed = 1;
long long g_every = 10000;
const char* g_stage = "start";
long long g_number = -1;
const mutate::Bytes* g_file = nullptr;  // the picture file being read, kept when it crashes the reader

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* e)
{
    std::printf("CRASH: exception %08lx in %s, seed %llu file %lld\n",
                (unsigned long)e->ExceptionRecord->ExceptionCode, g_stage, (unsigned long long)g_seed, g_number);
    if (g_file) {
        char name[96];
        std::snprintf(name, sizeof name, "crash_seed%llu_file%lld.bin", (unsigned long long)g_seed, g_number);
        mutate::WriteBytes(name, *g_file);
        std::printf("the file is kept as %s\n", name);
    }
    std::fflush(stdout);
    ExitProcess(3);
}

std::string ProgramFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    char* slash = strrchr(path, '\\');
    if (slash) slash[1] = 0;
    return path;
}


struct Counts {
    std::map<std::string, long long> outcome;
    long long faults = 0, leaks = 0;
    void Fault(const std::string& what, long long number, const std::string& problem)
    {
        ++faults;
        if (problem.find("slot") != std::string::npos) ++leaks;
        if (faults <= 25)
            std::printf("FAULT %s: seed %llu file %lld: %s\n", what.c_str(), (unsigned long long)g_seed, number,
                        problem.c_str());
    }
    void Print(const char* title, double ms, long long files)
    {
        std::printf("%s: %lld files in %.1f s (%.2f ms a file)\n", title, files, ms / 1000, files ? ms / files : 0.0);
        for (const auto& o : outcome) std::printf("  %-58s %9lld\n", o.first.c_str(), o.second);
        std::printf("  %-58s %9lld\n", "rule broken (must be 0)", faults);
        std::printf("  %-58s %9lld\n", "leaked slots (must be 0)", leaks);
        std::fflush(stdout);
    }
};

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// ---------------------------------------------------------------- pictures

// The damaged files of one run: BMP files (the generated layouts and those of the build), or PNG,
// JPEG and GIF files of the build.
struct PictureRun {
    const char* title;  // "BMP" or "PNG, JPEG and GIF"
    std::vector<mutate::Bytes> seeds;
    mutate::Bytes (*mutateOne)(mutate::Random&, const std::vector<mutate::Bytes>&, int*, size_t*);
    bool bmp;
};

void RunPictures(long long count, const PictureRun& run)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    tb_SetInstance(instance, SW_SHOWNORMAL);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = "MutationRuns";
    RegisterClassA(&wc);
    tb_SetClassName("MutationRuns");
    tb_InitToolbox();
    tb_SetSoundPreference(0);
    RECT wr = {0, 0, 800, 600};
    int window = tb_OpenWindow(&wr, "Tintwell", instance);
    if (window < 0) {
        std::printf("no window\n");
        return;
    }
    SetWindowPos(tb_GetWindowHandle(window), nullptr, 0, 0, 800, 600, SWP_NOZORDER);
    scene_Startup(window);

    const std::vector<mutate::Bytes>& seeds = run.seeds;
    std::printf("%s seeds: %zu files\n", run.title, seeds.size());
    if (seeds.empty()) return;

    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + std::to_string(GetCurrentProcessId()) + "_mutation\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string chosen = folder + "chosen.bmp";
    std::string pages = folder + "Pages\\";  // New's coloring pages: "blank.bmp" alone
    CreateDirectoryA(pages.c_str(), nullptr);
    RECT faceRect = {0, 0, 408, 417};
    int face = tb_CreateBitmap(&faceRect, 0, 24);
    mutate::WriteBytes(folder + "picture.bmp", {});
    mutate::Bytes refusal = mutate::PreviewArea(folder, "picture.bmp", face);
    mutate::Slots start = mutate::FreeSlots();

    BoxScript boxes;
    Counts reader, roads;
    std::map<std::string, long long> kinds;
    const char* roadNames[] = {"Open", "gallery preview", "New's pages"};
    const long long warmUp = count / 20;
    size_t privateAfterWarmUp = mutate::PrivateBytes();
    double t0 = bench_Now();
    for (long long i = 0; i < count; ++i) {
        g_number = i;
        if (i == warmUp) privateAfterWarmUp = mutate::PrivateBytes();
        mutate::Random r = mutate::RandomFor(g_seed, (uint64_t)i);
        int kind;
        mutate::Bytes file = run.mutateOne(r, seeds, &kind, nullptr);
        g_file = &file;
        ++kinds[mutate::KindName(kind)];
        mutate::WriteBytes(chosen, file);
        g_stage = "reader";
        int index;
        // The BMP reader alone, or the picture reader as Open places a picture.
        TB_PictureNeed need = pictures_PlacingNeed();
        std::string problem = mutate::CheckReader(chosen, file, &index, run.bmp ? nullptr : &need);
        if (!problem.empty()) reader.Fault("reader", i, problem);
        if (index >= 0) {
            ++reader.outcome["read OK"];
            tb_DisposeBitmap(index);
        } else if (run.bmp) {
            ++reader.outcome["refused: " + mutate::RefusalLabel(file)];
        } else {
            ++reader.outcome[mutate::IsBmp(file) ? "refused by the BMP reader" : "refused by the imaging component"];
        }
        int road = (int)(i % 3);
        bool taken = false;
        g_stage = roadNames[road];
        if (road == 0) {
            scene.modified = 0;
            problem = mutate::CheckOpen(chosen, file, boxes, &taken);
        } else if (road == 1) {
            mutate::WriteBytes(folder + "picture.bmp", file);
            problem = mutate::CheckPreview(folder, "picture.bmp", file, face, refusal, &taken);
        } else {
            mutate::WriteBytes(pages + "blank.bmp", file);
            problem = mutate::CheckPages(pages, file, boxes, &taken);
        }
        if (!problem.empty()) roads.Fault(roadNames[road], i, problem);
        ++roads.outcome[std::string(roadNames[road]) + (taken ? ": placed" : ": refused with its message")];
        if ((i + 1) % g_every == 0) {
            std::printf("  ... %lld files, %.1f s, private bytes %.1f MB\n", i + 1, (bench_Now() - t0) / 1000,
                        mutate::PrivateBytes() / 1048576.0);
            std::fflush(stdout);
        }
    }
    double ms = bench_Now() - t0;
    g_stage = "end";
    g_file = nullptr;
    if (!(mutate::FreeSlots() == start)) ++roads.leaks;
    for (const auto& k : kinds) std::printf("  mutation %-20s %9lld\n", k.first.c_str(), k.second);
    reader.Print((std::string(run.title) + " reader").c_str(), ms, count);
    roads.Print((std::string(run.title) + " roads (each file through one of them in turn)").c_str(), ms, count);
    std::printf("  message boxes answered: %zu\n", boxes.count());
    std::printf("  private bytes after the first %lld files %.1f MB, at the end %.1f MB\n", warmUp,
                privateAfterWarmUp / 1048576.0, mutate::PrivateBytes() / 1048576.0);
    tb_DisposeBitmap(face);
    scene_Shutdown();
    DeleteFileA(chosen.c_str());
    RemoveTree(folder);
    tb_DisposeOfWindow(window);
}

// ---------------------------------------------------------------- preferences

void RunPrefs(long long count)
{
    char place[MAX_PATH + 16];
    tb_PrefsWindowsPath(place);
    mutate::Bytes kept;
    bool hadFile = GetFileAttributesA(place) != INVALID_FILE_ATTRIBUTES;
    if (hadFile) kept = mutate::ReadBytes(place);
    Counts c;
    double t0 = bench_Now();
    g_stage = "preferences";
    for (long long i = 0; i < count; ++i) {
        g_number = i;
        mutate::Random r = mutate::RandomFor(g_seed, (uint64_t)i);
        size_t length = r.OneIn(10) ? 65 + r.Below(70000) : r.Below(65);
        mutate::Bytes bytes(length);
        int style = (int)r.Below(4);
        for (uint8_t& b : bytes) b = style == 0 ? 0 : style == 1 ? 0xFF : style == 2 ? (uint8_t)r.Below(3) : r.Byte();
        mutate::WriteBytes(place, bytes);
        tb_SetSoundPreference(0);
        preferences = {0, 0, 0};
        prefs_SetDefaults();
        prefs_Load();
        INT32 got[4] = {tb_GetSoundPreference(), preferences.stretchPictures, preferences.animation,
                        preferences.lightPrint};
        std::string problem;
        for (int v = 0; v < 4 && problem.empty(); ++v) {
            mutate::Bytes word = {1, 0, 0, 0};
            for (int k = 0; k < 4; ++k)
                if ((size_t)(4 * v + k) < length) word[k] = bytes[4 * v + k];
            if ((INT32)mutate::Get32(word, 0) != got[v]) problem = "value " + std::to_string(v + 1) + " not as the file holds";
        }
        if (problem.empty() && mutate::ReadBytes(place) != bytes) problem = "start-up rewrote a readable file";
        prefs_Save();
        mutate::Bytes saved = mutate::ReadBytes(place);
        if (problem.empty() && saved.size() != 16) problem = "the save wrote " + std::to_string(saved.size()) + " bytes";
        for (int v = 0; v < 4 && problem.empty(); ++v)
            if ((INT32)mutate::Get32(saved, 4 * (size_t)v) != got[v]) problem = "the save wrote another value";
        if (!problem.empty()) c.Fault("preferences", i, problem);
        ++c.outcome[length < 16    ? "read, 0..15 bytes (defaults where cut)"
                    : length == 16 ? "read, 16 bytes"
                    : length <= 64 ? "read, 17..64 bytes"
                                   : "read, 65..70000 bytes"];
    }
    c.Print("Preferences file", bench_Now() - t0, count);
    if (hadFile) mutate::WriteBytes(place, kept);
    else DeleteFileA(place);
}

// ---------------------------------------------------------------- setup.inf

UINT NoStart(const char*, UINT) { return 33; }

void RunInf(long long count, int installsEvery)
{
    BoxScript boxes;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    setup_ResetState();
    // Setup's own window class and main window: its procedure takes Program Manager's answers.
    UnregisterClassA("Setup", instance);
    setup_RegisterClass(instance);
    tb_SetInstance(instance, SW_SHOWNORMAL);
    tb_SetClassName("Setup");
    tb_InitToolbox();
    setup_OpenMainWindow();
    std::string key = "Software\\TintwellMutationRuns\\" + std::to_string(GetCurrentProcessId());
    HKEY root;
    RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root, nullptr);
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + std::to_string(GetCurrentProcessId()) + "_inf\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string source = folder + "src\\";
    mutate::MakeProductFiles(source);
    std::string destination = folder + "a\\b\\c\\dest\\";
    // Program Manager: the tests' stand-in on a thread of its own, accepting every command.
    ProgmanServer server(ProgmanServer::kAccept, tb_GetWindowHandle(setup.mainWindow));
    const std::string base = mutate::ProductInf(destination, key);
    const std::vector<mutate::Bytes> others = {mutate::Bytes(base.begin(), base.end())};

    Counts c;
    std::map<std::string, long long> kinds;
    double t0 = bench_Now();
    for (long long i = 0; i < count; ++i) {
        g_number = i;
        mutate::Random r = mutate::RandomFor(g_seed, (uint64_t)i);
        int kind;
        std::string text = mutate::MutateText(r, base, others, &kind);
        ++kinds[mutate::TextKindName(kind)];
        mutate::WriteTextFile(source + "setup.inf", text);
        g_stage = "setup.inf read";
        size_t from = boxes.count();
        int result = setup_ReadInfFrom((source + "setup.inf").c_str(), source.c_str());
        std::vector<SeenBox> shown(boxes.seen().begin() + (ptrdiff_t)from, boxes.seen().end());
        std::string problem = mutate::CheckInfRead(result, shown);
        if (!problem.empty()) c.Fault("setup.inf read", i, problem);
        ++c.outcome[result ? "read" : "refused: \"Setup cannot find all of the files...\""];
        if (!result || installsEvery <= 0 || i % installsEvery) {
            setup_CloseInf();
            continue;
        }
        g_stage = "install";
        setup.registryRoot = root;
        setup.startProgram = NoStart;
        snprintf(setup.destination, SETUP_TEXT, "%s", destination.c_str());
        from = boxes.count();
        int done = setup_Install();
        shown.assign(boxes.seen().begin() + (ptrdiff_t)from, boxes.seen().end());
        problem = mutate::CheckInstall(done, shown);
        if (!problem.empty()) {
            c.Fault("install", i, problem);
            // The file that found it, for a regular test to keep.
            mutate::WriteTextFile("fault_inf_" + std::to_string(g_seed) + "_" + std::to_string(i) + ".inf", text);
        }
        std::string said = shown.empty() ? "no message" : shown.back().text.substr(0, shown.back().text.find('\n'));
        ++c.outcome[std::string(done ? "installed: " : "install failed: ") + said];
        // Next install from nothing again.
        RemoveTree(folder + "a\\");
        if ((i + 1) % 1000 == 0) {
            std::printf("  ... %lld files, %.1f s\n", i + 1, (bench_Now() - t0) / 1000);
            std::fflush(stdout);
        }
    }
    double ms = bench_Now() - t0;
    for (const auto& k : kinds) std::printf("  mutation %-20s %9lld\n", k.first.c_str(), k.second);
    c.Print("setup.inf", ms, count);
    RemoveTree(folder);
    RegCloseKey(root);
    DeleteKeyTree(HKEY_CURRENT_USER, "Software\\TintwellMutationRuns");
}

}  // namespace

int main(int argc, char** argv)
{
    SetUnhandledExceptionFilter(ReportCrash);
    tb_StartPictureCodecs();
    long long count = 100000;
    std::string what = "all";
    int installsEvery = 25;
    std::vector<std::string> folders;
    std::string only;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string a = argv[i];
        if (a == "--seed") g_seed = std::strtoull(argv[i + 1], nullptr, 10);
        else if (a == "--count") count = std::atoll(argv[i + 1]);
        else if (a == "--what") what = argv[i + 1];
        else if (a == "--installs-every") installsEvery = std::atoi(argv[i + 1]);
        else if (a == "--seeds") folders.push_back(std::string(argv[i + 1]) + "\\");
        else if (a == "--only") only = argv[i + 1];
        else if (a == "--every") g_every = std::max(1LL, std::atoll(argv[i + 1]));
    }
    if (folders.empty()) {
        std::string here = ProgramFolder();
        folders = {here + "..\\tests\\ToolBox\\bitmaps\\", here + "..\\tests\\ToolBox\\foreign\\"};
    }
    std::printf("mutation runs: seed %llu, count %lld, %s\n", (unsigned long long)g_seed, count, what.c_str());
    if (what == "bmp" || what == "all") {
        PictureRun bmp = {"BMP", mutate::GeneratedBmpSeeds(g_seed), mutate::MutateBmp, true};
        for (const std::string& f : folders) {
            std::vector<mutate::Bytes> some = mutate::FolderFiles(f, "*.bmp");
            bmp.seeds.insert(bmp.seeds.end(), some.begin(), some.end());
        }
        RunPictures(count, bmp);
    }
    if (what == "pictures" || what == "all") {
        PictureRun others = {"PNG, JPEG and GIF", {}, mutate::MutatePicture, false};
        for (const std::string& f : folders) {
            std::vector<mutate::Bytes> some = mutate::PictureSeeds(f);
            others.seeds.insert(others.seeds.end(), some.begin(), some.end());
        }
        if (!only.empty()) {
            // The seeds of one format, by their first bytes.
            const std::string start = only == "png" ? "\x89PNG" : only == "gif" ? "GIF8" : "\xFF\xD8";
            std::vector<mutate::Bytes> kept;
            for (const mutate::Bytes& b : others.seeds)
                if (b.size() >= start.size() && std::equal(start.begin(), start.end(), b.begin(), [](char c, uint8_t v) { return (uint8_t)c == v; })) kept.push_back(b);
            others.seeds.swap(kept);
            std::printf("only %s files\n", only.c_str());
        }
        RunPictures(what == "all" ? count / 10 : count, others);
    }
    if (what == "prefs" || what == "all") RunPrefs(what == "all" ? count / 10 : count);
    if (what == "inf" || what == "all") RunInf(what == "all" ? count / 10 : count, installsEvery);
    std::printf("crashes (must be 0): 0\n");
    return 0;
}
