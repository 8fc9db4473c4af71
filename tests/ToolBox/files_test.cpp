// The file channel, the preferences file and the Save As / Open dialogs behind the ask flag.
#include <cstring>

#include "boxes.h"
#include "tb_test_util.h"

class Files : public ToolboxTest {
protected:
    void TearDown() override
    {
        ToolboxTest::TearDown();
        for (const std::string& path : created) DeleteFileA(path.c_str());
    }
    std::string Temp(const char* name)
    {
        created.push_back(TempFile(name));
        return created.back();
    }
    std::vector<std::string> created;
};
class FileDialogs : public Files {};

namespace {

// Controls of the common file dialogs.
const int kFileNameEdit = 0x480;   // edt1
const int kFileNameCombo = 0x47c;  // cmb13
const int kFilterCombo = 0x470;    // cmb1

std::string ControlText(HWND dialog, int id)
{
    char text[512] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

struct DialogSeen {
    std::string title, fileName, filter;
    std::vector<std::string> types;  // every entry of the type list
    bool seen = false;
};

// Answers the next file dialog: records what it shows, selects type entry `type` (unless -1),
// then types path (unless "*keep*") and presses OK, or cancels when path is empty.
void AnswerFileDialog(BoxScript& boxes, DialogSeen* seen, const std::string& path, int type = -1)
{
    boxes.onDialog([seen, path, type](HWND dialog) {
        char title[256] = {};
        GetWindowTextA(dialog, title, sizeof title);
        seen->seen = true;
        seen->title = title;
        int nameId = GetDlgItem(dialog, kFileNameCombo) ? kFileNameCombo : kFileNameEdit;
        seen->fileName = ControlText(dialog, nameId);
        seen->filter = ControlText(dialog, kFilterCombo);
        HWND types = GetDlgItem(dialog, kFilterCombo);
        seen->types.clear();
        for (int i = 0; i < (int)SendMessageA(types, CB_GETCOUNT, 0, 0); ++i) {
            char entry[256] = {};
            SendMessageA(types, CB_GETLBTEXT, i, (LPARAM)entry);
            seen->types.push_back(entry);
        }
        if (type >= 0) {
            SendMessageA(types, CB_SETCURSEL, type, 0);
            // As a choice with the mouse ends: the selection changed, then accepted.
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kFilterCombo, CBN_SELCHANGE), (LPARAM)types);
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kFilterCombo, CBN_SELENDOK), (LPARAM)types);
        }
        if (path.empty()) {
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)GetDlgItem(dialog, IDCANCEL));
        } else {
            if (path != "*keep*") SetDlgItemTextA(dialog, nameId, path.c_str());
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(dialog, IDOK));
        }
        return true;
    });
}

}  // namespace

TEST_F(Files, WrittenBytesReadBackAndEndOfFileReadsStillSucceed)
{
    std::string path = Temp("tintwell_channel.bin");
    std::vector<char> name(path.begin(), path.end());
    name.push_back(0);
    ASSERT_EQ(tb_OpenFileToWrite(name.data(), 0), 1);
    EXPECT_EQ(tb_WriteFile("hello", 5), 0);
    EXPECT_EQ(tb_WriteFile(" world", 6), 0);
    tb_CloseFile();
    EXPECT_EQ(ReadWholeFile(path).size(), 11u);

    ASSERT_EQ(tb_OpenFileToRead(name.data(), 0), 1);
    char buffer[16] = {};
    EXPECT_EQ(tb_ReadFile(buffer, 5), 0);
    EXPECT_STREQ(buffer, "hello");
    EXPECT_EQ(tb_ReadFile(buffer, 6), 0);
    EXPECT_STREQ(buffer, " world");
    memcpy(buffer, "untouched", 10);
    EXPECT_EQ(tb_ReadFile(buffer, 4), 0);  // at the end: success, nothing delivered
    EXPECT_STREQ(buffer, "untouched");
    EXPECT_EQ(tb_WriteFile("x", 1), 1);  // opened for reading only
    tb_CloseFile();
    tb_CloseFile();
    EXPECT_EQ(tb.file, INVALID_HANDLE_VALUE);
}

TEST_F(Files, NothingOpenMeansEveryTransferFails)
{
    char buffer[4] = {};
    EXPECT_EQ(tb_ReadFile(buffer, 4), 1);
    EXPECT_EQ(tb_WriteFile(buffer, 4), 1);
    std::string missing = TempFile("tintwell_no_such_file.bmp");
    DeleteFileA(missing.c_str());
    std::vector<char> name(missing.begin(), missing.end());
    name.push_back(0);
    EXPECT_EQ(tb_OpenFileToRead(name.data(), 0), -1);
    EXPECT_EQ(tb_ReadFile(buffer, 4), 1);
    char folder[] = "C:\\no\\such\\folder\\x.bmp";
    EXPECT_EQ(tb_OpenFileToWrite(folder, 0), -1);
    EXPECT_EQ(tb_WriteFile(buffer, 4), 1);
}

TEST_F(Files, WritingReplacesAndNoOneElseMayShareTheFile)
{
    std::string path = Temp("tintwell_replace.bin");
    WriteWholeFile(path, std::vector<BYTE>(10, 0x33));
    std::vector<char> name(path.begin(), path.end());
    name.push_back(0);
    ASSERT_EQ(tb_OpenFileToWrite(name.data(), 0), 1);
    EXPECT_EQ(tb_WriteFile("abc", 3), 0);
    HANDLE other = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(other, INVALID_HANDLE_VALUE);
    if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
    tb_CloseFile();
    EXPECT_EQ(ReadWholeFile(path), std::vector<BYTE>({'a', 'b', 'c'}));

    ASSERT_EQ(tb_OpenFileToRead(name.data(), 0), 1);
    other = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                        nullptr);
    EXPECT_EQ(other, INVALID_HANDLE_VALUE);
    if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
    tb_CloseFile();
}

TEST_F(Files, PreferencesFileLivesInTheWindowsFolder)
{
    char folder[MAX_PATH] = {};
    GetWindowsDirectoryA(folder, sizeof folder);
    std::string path = std::string(folder) + "\\qlnpfs.pfs";
    created.push_back(path);
    DeleteFileA(path.c_str());
    EXPECT_EQ(tb_OpenPrefsToRead(), -1);

    ASSERT_EQ(tb_OpenPrefsToWrite(), 1);
    const DWORD values[4] = {1, 0, 1, 0};
    for (DWORD v : values) EXPECT_EQ(tb_WriteFile(&v, 4), 0);
    tb_CloseFile();
    std::vector<BYTE> bytes = ReadWholeFile(path);
    ASSERT_EQ(bytes.size(), 16u);
    EXPECT_EQ(Get32(bytes, 0), 1u);
    EXPECT_EQ(Get32(bytes, 4), 0u);

    ASSERT_EQ(tb_OpenPrefsToRead(), 1);
    DWORD back[4] = {9, 9, 9, 9};
    for (DWORD& v : back) EXPECT_EQ(tb_ReadFile(&v, 4), 0);
    tb_CloseFile();
    EXPECT_EQ(memcmp(back, values, sizeof values), 0);
}

TEST_F(FileDialogs, SaveAsStartsFromTheNameAndWritesTheChosenPathBack)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    tb_SetFileDialogFolder(temp);
    EXPECT_STREQ(tb.dialogFolder, temp);
    std::string chosen = Temp("tintwell_saved.bmp");
    DeleteFileA(chosen.c_str());

    BoxScript boxes;
    DialogSeen seen;
    AnswerFileDialog(boxes, &seen, chosen);
    char path[256] = "C:\\Pictures\\My Picture.bmp";
    EXPECT_EQ(tb_OpenFileToWrite(path, 1), 1);
    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.title, "Save As");
    EXPECT_EQ(seen.fileName, "My Picture.bmp");
    EXPECT_EQ(seen.filter, "Marrowby, Tintwell 1.0 (*.bmp)");
    EXPECT_STREQ(path, chosen.c_str());
    EXPECT_EQ(tb_WriteFile("BM", 2), 0);
    tb_CloseFile();
    EXPECT_EQ(ReadWholeFile(chosen).size(), 2u);

    // A bare name is offered whole.
    DialogSeen second;
    AnswerFileDialog(boxes, &second, "");
    char bare[256] = "Tintwell.bmp";
    EXPECT_EQ(tb_OpenFileToWrite(bare, 1), 0);  // cancelled
    EXPECT_EQ(second.fileName, "Tintwell.bmp");
    EXPECT_STREQ(bare, "Tintwell.bmp");
    EXPECT_EQ(tb_WriteFile("x", 1), 1);  // nothing was opened
}

TEST_F(FileDialogs, OpenOffersThePatternAndCancelGivesMinusOne)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    tb_SetFileDialogFolder(temp);
    std::string existing = Temp("tintwell_to_open.bmp");
    WriteWholeFile(existing, {'B', 'M', 1, 2});

    BoxScript boxes;
    DialogSeen seen;
    AnswerFileDialog(boxes, &seen, existing);
    char path[256] = "C:\\elsewhere\\Tintwell.bmp";
    EXPECT_EQ(tb_OpenFileToRead(path, 1), 1);
    EXPECT_EQ(seen.title, "Open");
    EXPECT_EQ(seen.fileName, "*.bmp");
    EXPECT_EQ(seen.filter, "Marrowby, Tintwell 1.0 (*.bmp)");
    EXPECT_EQ(seen.types, (std::vector<std::string>{"Marrowby, Tintwell 1.0 (*.bmp)", "All pictures"}));
    EXPECT_STREQ(path, existing.c_str());
    BYTE bytes[4] = {};
    EXPECT_EQ(tb_ReadFile(bytes, 4), 0);
    EXPECT_EQ(bytes[3], 2);
    tb_CloseFile();

    DialogSeen cancelled;
    AnswerFileDialog(boxes, &cancelled, "");
    char keep[256] = "C:\\elsewhere\\Tintwell.bmp";
    EXPECT_EQ(tb_OpenFileToRead(keep, 1), -1);
    EXPECT_TRUE(cancelled.seen);
    EXPECT_STREQ(keep, "C:\\elsewhere\\Tintwell.bmp");
    EXPECT_EQ(tb_ReadFile(bytes, 1), 1);
}

// The Save As offers the program's BMP and PNG, the type of the offered name selected. A name typed
// with ".bmp" or ".png" keeps it; the offered name left as it was, or a name without either, takes
// the chosen type's extension (in place of another picture extension).
TEST_F(FileDialogs, SaveAsTypeAndTypedExtensionDecideTheFormat)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    tb_SetFileDialogFolder(temp);
    const struct {
        const char *offered, *typed;  // "*keep*": the offered name as it was
        int type;                     // the type entry chosen (-1: the one selected at the start)
        const char* chosen;
    } cases[] = {{"Tintwell.bmp", "*keep*", -1, "Tintwell.bmp"}, {"Tintwell.bmp", "*keep*", 1, "Tintwell.png"},
                 {"cat.png", "*keep*", -1, "cat.png"},           {"cat.png", "*keep*", 0, "cat.bmp"},
                 {"Tintwell.bmp", "dog.png", 0, "dog.png"},      {"Tintwell.bmp", "dog.BMP", 1, "dog.BMP"},
                 {"Tintwell.bmp", "dog", 1, "dog.png"},          {"Tintwell.bmp", "photo.jpg", 1, "photo.png"},
                 {"Tintwell.bmp", "my.drawing", -1, "my.drawing.bmp"}};
    BoxScript boxes;
    for (const auto& c : cases) {
        DialogSeen seen;
        AnswerFileDialog(boxes, &seen, c.typed, c.type);
        char path[256];
        lstrcpynA(path, c.offered, sizeof path);
        ASSERT_EQ(tb_AskFileToWrite(path), 1) << c.offered << " " << c.typed;
        EXPECT_EQ(seen.types, (std::vector<std::string>{"Marrowby, Tintwell 1.0 (*.bmp)", "PNG picture (*.png)"}));
        EXPECT_EQ(seen.filter, seen.types[strstr(c.offered, ".png") ? 1 : 0]) << c.offered;
        EXPECT_EQ(std::string(path), std::string(temp) + c.chosen) << c.offered << " " << c.typed << " " << c.type;
    }
}
