// Every resource listed in resources/catalogue.txt (written by artwork/generate.py) is loaded from the
// built paint.exe and setup.exe through FindResource/LoadResource/LockResource on the program opened
// as a data file, and checked against its catalogue line: pictures by size and depth, masks for pure
// black and white, cursors 32x32, icons, sounds, dialog templates and the accelerator table.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Item {
    std::string program, kind, id;
    int width = 0, height = 0, depth = 0;
};

// Wine is handed the build tree's paths; a Unix path is reached through drive Z:.
std::string windowsPath(std::string path)
{
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    return path;
}

std::vector<Item> readCatalogue()
{
    std::vector<Item> items;
    std::ifstream in(windowsPath(TINTWELL_CATALOGUE));
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        Item item;
        if (fields >> item.program >> item.kind >> item.id >> item.width >> item.height >> item.depth)
            items.push_back(item);
    }
    return items;
}

const std::vector<Item>& catalogue()
{
    static const std::vector<Item> items = readCatalogue();
    return items;
}

HMODULE program(const std::string& name)
{
    static std::map<std::string, HMODULE> modules;
    auto found = modules.find(name);
    if (found != modules.end()) return found->second;
    std::string path = windowsPath(name == "paint" ? TINTWELL_PAINT_EXE : TINTWELL_SETUP_EXE);
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    modules[name] = module;
    return module;
}

// A resource name as the platform wants it: a number, or a string name.
struct ResName {
    std::string text;
    bool numeric = false;
    int number = 0;
    LPCSTR get() const { return numeric ? MAKEINTRESOURCEA(number) : text.c_str(); }
};

ResName resName(const std::string& id)
{
    ResName n;
    n.text = id;
    n.numeric = !id.empty() && id.find_first_not_of("0123456789") == std::string::npos;
    if (n.numeric) n.number = std::stoi(id);
    return n;
}

struct Blob {
    const uint8_t* data = nullptr;
    DWORD size = 0;
};

Blob load(HMODULE module, LPCSTR type, LPCSTR name)
{
    Blob blob;
    HRSRC info = FindResourceA(module, name, type);
    if (!info) return blob;
    HGLOBAL handle = LoadResource(module, info);
    if (!handle) return blob;
    blob.data = static_cast<const uint8_t*>(LockResource(handle));
    blob.size = SizeofResource(module, info);
    return blob;
}

std::vector<Item> itemsOf(const std::string& programName, const std::set<std::string>& kinds)
{
    std::vector<Item> out;
    for (const Item& item : catalogue())
        if (item.program == programName && kinds.count(item.kind)) out.push_back(item);
    return out;
}

// Checks one picture (or mask) against its catalogue line; returns a description of the first fault.
std::string checkPicture(HMODULE module, const Item& item)
{
    ResName name = resName(item.id);
    Blob blob = load(module, MAKEINTRESOURCEA(2) /* RT_BITMAP */, name.get());
    if (!blob.data) return "not found";
    if (blob.size < sizeof(BITMAPINFOHEADER)) return "too short";
    BITMAPINFOHEADER header;
    std::memcpy(&header, blob.data, sizeof header);
    std::ostringstream fault;
    if (header.biWidth != item.width || std::abs(header.biHeight) != item.height)
        fault << "size " << header.biWidth << "x" << header.biHeight << " ";
    if (header.biBitCount != item.depth) fault << "depth " << header.biBitCount << " ";
    if (header.biCompression != BI_RGB) fault << "compressed ";
    if (!fault.str().empty()) return fault.str();
    int width = header.biWidth, height = std::abs(header.biHeight);
    size_t stride = ((size_t)width * header.biBitCount + 31) / 32 * 4;
    size_t colours = header.biBitCount <= 8 ? (header.biClrUsed ? header.biClrUsed : (1u << header.biBitCount)) : 0;
    if (header.biBitCount == 8 && colours != 256) return "8-bit picture without a full colour table";
    size_t bits = header.biSize + colours * 4;
    if (bits + stride * height > blob.size) return "pixel data cut short";
    if (item.kind == "MASK") {
        const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(blob.data + header.biSize);
        bool black = false, white = false;
        for (int y = 0; y < height; ++y) {
            const uint8_t* row = blob.data + bits + stride * y;
            for (int x = 0; x < width; ++x) {
                RGBQUAD q = table[row[x]];
                bool isBlack = q.rgbRed == 0 && q.rgbGreen == 0 && q.rgbBlue == 0;
                bool isWhite = q.rgbRed == 255 && q.rgbGreen == 255 && q.rgbBlue == 255;
                if (!isBlack && !isWhite) {
                    std::ostringstream s;
                    s << "mask pixel (" << x << ", " << (height - 1 - y) << ") is neither black nor white";
                    return s.str();
                }
                black |= isBlack;
                white |= isWhite;
            }
        }
        if (!white) return "mask shows nothing (no white pixel)";
    }
    return "";
}

void expectPictures(const std::string& programName)
{
    HMODULE module = program(programName);
    ASSERT_NE(module, nullptr) << programName << ".exe could not be opened";
    std::vector<Item> items = itemsOf(programName, {"BITMAP", "MASK"});
    ASSERT_FALSE(items.empty());
    for (const Item& item : items) {
        std::string fault = checkPicture(module, item);
        EXPECT_EQ(fault, "") << programName << " " << item.kind << " " << item.id;
    }
}

BOOL CALLBACK collectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR param)
{
    auto* names = reinterpret_cast<std::set<std::string>*>(param);
    if (IS_INTRESOURCE(name))
        names->insert(std::to_string((int)(ULONG_PTR)name));
    else
        names->insert(name);
    return TRUE;
}

std::set<std::string> upper(const std::set<std::string>& in)
{
    std::set<std::string> out;
    for (std::string s : in) {
        for (char& ch : s) ch = (char)toupper((unsigned char)ch);
        out.insert(s);
    }
    return out;
}

// Resources of a type in the program that the catalogue does not list (stale or stray entries).
std::vector<std::string> uncatalogued(const std::string& programName, LPCSTR type, const std::set<std::string>& kinds)
{
    std::set<std::string> inProgram;
    EnumResourceNamesA(program(programName), type, collectName, reinterpret_cast<LONG_PTR>(&inProgram));
    std::set<std::string> listed;
    for (const Item& item : itemsOf(programName, kinds)) listed.insert(item.id);
    listed = upper(listed);
    std::vector<std::string> extra;
    for (const std::string& name : upper(inProgram))
        if (!listed.count(name)) extra.push_back(name);
    return extra;
}

#pragma pack(push, 1)
struct GroupHeader {
    WORD reserved, type, count;
};
struct GroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
struct CursorGroupEntry {
    WORD width, height;  // the height counts the image and its mask
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

// ------------------------------------------------------------------ dialog templates

struct ControlInfo {
    std::string className, text;
    int id;
    LONG style;
};

struct DialogInfo {
    bool created = false;
    std::string caption;
    std::vector<ControlInfo> controls;
};

INT_PTR CALLBACK quietProcedure(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

BOOL CALLBACK collectControl(HWND control, LPARAM param)
{
    auto* info = reinterpret_cast<DialogInfo*>(param);
    char className[64] = {0}, text[512] = {0};
    GetClassNameA(control, className, sizeof className);
    GetWindowTextA(control, text, sizeof text);
    info->controls.push_back({className, text, GetDlgCtrlID(control), GetWindowLongA(control, GWL_STYLE)});
    return TRUE;
}

// Builds the dialog from the template stored in the program, as the program's own dialogs would be.
DialogInfo openDialog(const std::string& programName, int id)
{
    DialogInfo info;
    HMODULE module = program(programName);
    Blob blob = load(module, MAKEINTRESOURCEA(5) /* RT_DIALOG */, MAKEINTRESOURCEA(id));
    if (!blob.data) return info;
    HWND dialog = CreateDialogIndirectParamA(module, reinterpret_cast<LPCDLGTEMPLATEA>(blob.data), nullptr,
                                             quietProcedure, 0);
    if (!dialog) return info;
    info.created = true;
    char caption[256] = {0};
    GetWindowTextA(dialog, caption, sizeof caption);
    info.caption = caption;
    EnumChildWindows(dialog, collectControl, reinterpret_cast<LPARAM>(&info));
    DestroyWindow(dialog);
    return info;
}

const ControlInfo* findControl(const DialogInfo& info, const std::string& className, const std::string& text)
{
    for (const ControlInfo& c : info.controls)
        if (_stricmp(c.className.c_str(), className.c_str()) == 0 && (text.empty() || c.text == text)) return &c;
    return nullptr;
}

}  // namespace

TEST(Resources, CatalogueListsBothPrograms)
{
    ASSERT_GT(catalogue().size(), 100u) << "catalogue " << TINTWELL_CATALOGUE;
    EXPECT_FALSE(itemsOf("paint", {"BITMAP"}).empty());
    EXPECT_FALSE(itemsOf("setup", {"BITMAP"}).empty());
    EXPECT_NE(program("paint"), nullptr);
    EXPECT_NE(program("setup"), nullptr);
}

TEST(Resources, PaintPicturesHaveTheirSizeAndDepth) { expectPictures("paint"); }

TEST(Resources, SetupPicturesHaveTheirSizeAndDepth) { expectPictures("setup"); }

TEST(Resources, EveryPictureInTheProgramsIsCatalogued)
{
    for (const char* name : {"paint", "setup"}) {
        ASSERT_NE(program(name), nullptr);
        std::vector<std::string> extra = uncatalogued(name, MAKEINTRESOURCEA(2), {"BITMAP", "MASK"});
        EXPECT_TRUE(extra.empty()) << name << " holds bitmap " << (extra.empty() ? "" : extra[0])
                                   << " that the catalogue does not list";
    }
}

TEST(Resources, CursorsAreThirtyTwoPixelsSquare)
{
    for (const char* name : {"paint", "setup"}) {
        HMODULE module = program(name);
        ASSERT_NE(module, nullptr);
        for (const Item& item : itemsOf(name, {"CURSOR"})) {
            Blob group = load(module, MAKEINTRESOURCEA(12) /* RT_GROUP_CURSOR */, resName(item.id).get());
            ASSERT_NE(group.data, nullptr) << "cursor " << item.id;
            GroupHeader header;
            std::memcpy(&header, group.data, sizeof header);
            ASSERT_EQ(header.type, 2) << "cursor " << item.id;
            ASSERT_GE(header.count, 1) << "cursor " << item.id;
            for (int k = 0; k < header.count; ++k) {
                CursorGroupEntry entry;
                std::memcpy(&entry, group.data + sizeof header + k * sizeof entry, sizeof entry);
                EXPECT_EQ(entry.width, 32) << "cursor " << item.id;
                EXPECT_EQ(entry.height, 64) << "cursor " << item.id;
                Blob image = load(module, MAKEINTRESOURCEA(1) /* RT_CURSOR */, MAKEINTRESOURCEA(entry.id));
                ASSERT_NE(image.data, nullptr) << "cursor image of " << item.id;
                BITMAPINFOHEADER bih;
                std::memcpy(&bih, image.data + 4, sizeof bih);  // after the hot spot
                EXPECT_EQ(bih.biWidth, 32) << "cursor " << item.id;
                EXPECT_EQ(bih.biHeight, 64) << "cursor " << item.id;
                WORD hotX, hotY;
                std::memcpy(&hotX, image.data, 2);
                std::memcpy(&hotY, image.data + 2, 2);
                EXPECT_LT(hotX, 32) << "cursor " << item.id;
                EXPECT_LT(hotY, 32) << "cursor " << item.id;
            }
        }
    }
}

TEST(Resources, IconsHoldTheirSizes)
{
    for (const char* name : {"paint", "setup"}) {
        HMODULE module = program(name);
        ASSERT_NE(module, nullptr);
        std::vector<Item> icons = itemsOf(name, {"ICON"});
        ASSERT_FALSE(icons.empty()) << name;
        for (const Item& item : icons) {
            Blob group = load(module, MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */, resName(item.id).get());
            ASSERT_NE(group.data, nullptr) << "icon " << item.id;
            GroupHeader header;
            std::memcpy(&header, group.data, sizeof header);
            ASSERT_EQ(header.type, 1) << "icon " << item.id;
            bool hasSize = false;
            for (int k = 0; k < header.count; ++k) {
                GroupEntry entry;
                std::memcpy(&entry, group.data + sizeof header + k * sizeof entry, sizeof entry);
                int size = entry.width ? entry.width : 256;
                hasSize |= size == item.width;
                Blob image = load(module, MAKEINTRESOURCEA(3) /* RT_ICON */, MAKEINTRESOURCEA(entry.id));
                ASSERT_NE(image.data, nullptr) << "icon image of " << item.id;
                BITMAPINFOHEADER bih;
                std::memcpy(&bih, image.data, sizeof bih);
                EXPECT_EQ(bih.biWidth, size) << "icon " << item.id;
                EXPECT_EQ(bih.biHeight, 2 * size) << "icon " << item.id;
            }
            EXPECT_TRUE(hasSize) << "icon " << item.id << " has no " << item.width << " pixel image";
        }
    }
}

TEST(Resources, SoundsArePcmWaves)
{
    for (const char* name : {"paint", "setup"}) {
        HMODULE module = program(name);
        ASSERT_NE(module, nullptr);
        for (const Item& item : itemsOf(name, {"WAVE"})) {
            Blob blob = load(module, "WAVE", resName(item.id).get());
            ASSERT_NE(blob.data, nullptr) << "sound " << item.id;
            ASSERT_GT(blob.size, 44u) << "sound " << item.id;
            EXPECT_EQ(std::memcmp(blob.data, "RIFF", 4), 0) << "sound " << item.id;
            EXPECT_EQ(std::memcmp(blob.data + 8, "WAVEfmt ", 8), 0) << "sound " << item.id;
            WORD format, channels, bits;
            std::memcpy(&format, blob.data + 20, 2);
            std::memcpy(&channels, blob.data + 22, 2);
            std::memcpy(&bits, blob.data + 34, 2);
            EXPECT_EQ(format, 1) << "sound " << item.id << " is not PCM";
            EXPECT_EQ(channels, 1) << "sound " << item.id;
            EXPECT_EQ(bits, item.depth) << "sound " << item.id;
        }
    }
}

TEST(Resources, EveryCatalogueDialogAndAcceleratorTableIsInItsProgram)
{
    int dialogs = 0;
    for (const Item& item : catalogue()) {
        if (item.kind == "DIALOG") {
            ++dialogs;
            EXPECT_NE(load(program(item.program), MAKEINTRESOURCEA(5), resName(item.id).get()).data, nullptr)
                << item.program << " dialog " << item.id;
        } else if (item.kind == "ACCELERATORS") {
            Blob blob = load(program(item.program), MAKEINTRESOURCEA(9) /* RT_ACCELERATOR */, resName(item.id).get());
            ASSERT_NE(blob.data, nullptr) << item.program << " accelerators " << item.id;
            EXPECT_EQ(blob.size % 8, 0u);
            EXPECT_GE(blob.size, 8u);
        }
    }
    EXPECT_GE(dialogs, 6);
}

TEST(Resources, PaintDialogTemplates)
{
    DialogInfo popup = openDialog("paint", 156);
    ASSERT_TRUE(popup.created);
    EXPECT_TRUE(popup.controls.empty());
    EXPECT_EQ(popup.caption, "");

    DialogInfo about = openDialog("paint", 10001);
    ASSERT_TRUE(about.created);
    EXPECT_EQ(about.caption, "About Tintwell...");
    EXPECT_TRUE(about.controls.empty());
}

TEST(Resources, SetupDialogTemplates)
{
    DialogInfo splash = openDialog("setup", 101);
    ASSERT_TRUE(splash.created);
    EXPECT_TRUE(splash.controls.empty());

    DialogInfo agreement = openDialog("setup", 102);
    ASSERT_TRUE(agreement.created);
    EXPECT_EQ(agreement.caption, "Setup Product....");
    const ControlInfo* text = findControl(agreement, "Edit", "");
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->style & ES_MULTILINE);
    EXPECT_TRUE(text->style & ES_READONLY);
    EXPECT_TRUE(text->style & WS_VSCROLL);
    const ControlInfo* next = findControl(agreement, "Button", "Next >>");
    const ControlInfo* cancel = findControl(agreement, "Button", "Cancel");
    ASSERT_NE(next, nullptr);
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(next->id, IDOK);
    EXPECT_EQ(cancel->id, IDCANCEL);
    bool logo = false;
    for (const ControlInfo& c : agreement.controls) logo |= _stricmp(c.className.c_str(), "Static") == 0 &&
                                                           (c.style & SS_TYPEMASK) == SS_BITMAP;
    EXPECT_TRUE(logo) << "the agreement page shows the logo";

    DialogInfo destination = openDialog("setup", 103);
    ASSERT_TRUE(destination.created);
    EXPECT_EQ(destination.caption, "Destination...");
    ASSERT_NE(findControl(destination, "Edit", ""), nullptr);
    EXPECT_NE(findControl(destination, "Static", "This Product will be installed in the following folder."), nullptr);
    const ControlInfo* finish = findControl(destination, "Button", "Finish");
    ASSERT_NE(finish, nullptr);
    EXPECT_EQ(finish->id, IDOK);
    ASSERT_NE(findControl(destination, "Button", "Cancel"), nullptr);

    DialogInfo abort = openDialog("setup", 105);
    ASSERT_TRUE(abort.created);
    EXPECT_EQ(abort.caption, "Confirm Abort...");
    EXPECT_NE(findControl(abort, "Static", "Setup is not complete.  If you exit now, the program will not be installed "
                                           "on your computer."), nullptr);
    EXPECT_NE(findControl(abort, "Static", "Press Resume to continue with this setup."), nullptr);
    const ControlInfo* resume = findControl(abort, "Button", "Resume");
    const ControlInfo* exitButton = findControl(abort, "Button", "Exit");
    ASSERT_NE(resume, nullptr);
    ASSERT_NE(exitButton, nullptr);
    EXPECT_EQ(resume->id, IDOK);
    EXPECT_EQ(exitButton->id, IDCANCEL);
}
