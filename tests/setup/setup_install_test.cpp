// The install: registry values and their byte counts, the run-once entries, the queue callback,
// the order of the steps, the copy with its failures, and the wizard's pages driving it.
#include "setup_test_util.h"

#include <functional>

#include "resources/setup_ids.h"

namespace {

const char kUserInfo[] = "Software\\Marrowby\\Tintwell\\UserInfo\\";
const char kRunOnce[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

std::string Contact(const char* sentence) { return std::string(sentence) + setup_kContactLines; }

// ---------------------------------------------------------------- the default callback's stand-in

struct CallbackLog {
    std::vector<UINT> notifications;
    PVOID context = nullptr;
    UINT answer = FILEOP_DOIT;
    bool pathAtFirstCopy = false;
    int copies = 0;
    HKEY root = nullptr;
};
CallbackLog g_log;

UINT CALLBACK RecordingCallback(PVOID context, UINT notification, UINT_PTR, UINT_PTR)
{
    g_log.notifications.push_back(notification);
    g_log.context = context;
    return g_log.answer;
}

// Watches the real copy: at the first file it checks that the destination is already recorded.
UINT CALLBACK WatchingCallback(PVOID context, UINT notification, UINT_PTR param1, UINT_PTR param2)
{
    if (notification == SPFILENOTIFY_STARTCOPY && g_log.copies++ == 0) {
        DWORD type;
        std::string bytes;
        g_log.pathAtFirstCopy = ReadValue(g_log.root, kUserInfo, "DestinationPath", &type, &bytes);
    }
    return SetupDefaultQueueCallbackA(context, notification, param1, param2);
}

// ---------------------------------------------------------------- a small product to install

struct Product {
    std::string source;       // the folder setup.inf lies in, with its backslash
    std::string destination;  // where it goes, without its final backslash
};

// Writes the source folder: setup.inf, paint.exe and Pages\blank.bmp (less what missing names),
// and reads the INF. extraFile adds a name to the install section that no file answers.
Product MakeProduct(const std::string& folder, const std::string& key, const char* extraFile = nullptr,
                    bool withInstallSection = true)
{
    Product p;
    p.source = folder + "src\\";
    p.destination = folder + "dest";
    CreateDirectoryA(p.source.c_str(), nullptr);
    CreateDirectoryA((p.source + "Pages").c_str(), nullptr);
    WriteText(p.source + "paint.exe", "the program");
    WriteText(p.source + "Pages\\blank.bmp", "a page");
    std::string inf = StringsSection("PRODUCT_DESC=\"Tintwell\"\r\nDESTINATION_DIR=\"" + p.destination +
                                     "\"\r\nPROGRAM_GROUP=\"Tintwell\"\r\nPROGRAM_EXE=\"paint.exe\"\r\n"
                                     "PROGRAM_HELP=\"Help_twk.html\"\r\nDESTINATION_SUB=\"Pages\\\"\r\n");
    inf += "[SourceDisksNames]\r\n1=\"Tintwell\",,,\r\n";
    inf += "[SourceDisksFiles]\r\npaint.exe=1\r\nblank.bmp=1,Pages\r\n";
    if (extraFile) inf += std::string(extraFile) + "=1\r\n";
    inf += "[DestinationDirs]\r\nProgram=65600\r\nPages=65601\r\nInf=65600\r\n";
    inf += "[DefaultUninstall]\r\nDelFiles=Program,Pages,Inf\r\n[Inf]\r\ntintwell.inf\r\n";
    if (withInstallSection) inf += "[ProductInstall]\r\nCopyFiles=Program,Pages\r\nAddReg=Marker\r\n";
    inf += "[Program]\r\npaint.exe\r\n";
    if (extraFile) inf += std::string(extraFile) + "\r\n";
    inf += "[Pages]\r\nblank.bmp\r\n";
    inf += "[Marker]\r\nHKCU,\"" + key + "\\Marker\",Installed,,\"%65600%\"\r\n";
    WriteText(p.source + "setup.inf", inf);
    EXPECT_EQ(setup_ReadInfFrom((p.source + "setup.inf").c_str(), p.source.c_str()), 1);
    return p;
}

void MakeRunOnceKey(HKEY root, bool withSetupSubKey)
{
    HKEY k;
    std::string path = std::string(kRunOnce) + (withSetupSubKey ? "\\Setup" : "");
    ASSERT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr), ERROR_SUCCESS);
    RegCloseKey(k);
}

bool HasValue(HKEY root, const char* key, const char* name)
{
    DWORD type;
    std::string bytes;
    return ReadValue(root, key, name, &type, &bytes);
}

// The system's sentence for an error, as the log gives it.
std::string ErrorLine(DWORD error)
{
    char text[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text, sizeof text,
                   nullptr);
    std::string line = text;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ')) line.pop_back();
    return line;
}

// Run-once processing as Setup starts it: runonce.exe by its full path in the system folder.
std::string RunOnceStarted()
{
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, sizeof system);
    return "\"" + std::string(system) + "\\runonce.exe\" -r show=1";
}

BOOL WINAPI FailingRegistryPass(HWND, HINF, PCSTR, UINT, HKEY, PCSTR, UINT, PSP_FILE_CALLBACK_A, PVOID, HDEVINFO,
                                PSP_DEVINFO_DATA)
{
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

}  // namespace

TEST_F(SetupTest, DestinationPathIsAStringWithoutItsTerminatingZero)
{
    snprintf(setup.destination, SETUP_TEXT, "%s", "c:\\Program Files\\Marrowby\\Tintwell\\");
    ASSERT_EQ(setup_RecordDestination(), 1);
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(ReadValue(root, kUserInfo, "DestinationPath", &type, &bytes));
    EXPECT_EQ(type, (DWORD)REG_SZ);
    // 35 bytes are given, without the zero; Wine stores the zero that follows them all the same.
    EXPECT_TRUE(bytes == "c:\\Program Files\\Marrowby\\Tintwell\\" ||
                bytes == std::string("c:\\Program Files\\Marrowby\\Tintwell\\", 36))
        << bytes.size() << " bytes";
}

TEST_F(SetupTest, RunOnceEntriesAndTheirByteCounts)
{
    struct {
        const char* what;
        bool key, setupSubKey;
        bool grpConv, wrapper;
    } cases[] = {
        {"no RunOnce key", false, false, false, false},
        {"RunOnce without Setup", true, false, true, false},
        {"RunOnce with Setup", true, true, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteKeyTree(root, "Software");
        started.clear();
        if (c.key) MakeRunOnceKey(root, c.setupSubKey);
        EXPECT_EQ(setup_WriteRunOnce(), c.key ? 1 : 0);
        DWORD type = 0;
        std::string bytes;
        EXPECT_EQ(ReadValue(root, kRunOnce, "GrpConv", &type, &bytes), c.grpConv);
        if (c.grpConv) {
            EXPECT_EQ(type, (DWORD)REG_SZ);
            EXPECT_EQ(bytes, std::string("grpconv -o", 11));
        }
        EXPECT_EQ(ReadValue(root, kRunOnce, "Wrapper", &type, &bytes), c.wrapper);
        if (c.wrapper) {
            EXPECT_EQ(bytes, std::string("runonce", 8));
        }
        // Run-once processing starts only when the entries could be written, shown normally.
        if (c.key) {
            ASSERT_EQ(started.size(), 1u);
            EXPECT_EQ(started[0], RunOnceStarted());
        } else {
            EXPECT_TRUE(started.empty());
        }
    }
}

TEST_F(SetupTest, QueueCallbackSkipsDeleteErrorsAndPassesTheRestOn)
{
    SetupCopyRecord record = {};
    int context = 0;
    record.defaultContext = &context;
    setup.defaultQueueCallback = RecordingCallback;
    g_log = CallbackLog();
    g_log.answer = FILEOP_DOIT;

    EXPECT_EQ(setup_QueueCallback(&record, SPFILENOTIFY_DELETEERROR, 0, 0), (UINT)FILEOP_SKIP);
    EXPECT_TRUE(g_log.notifications.empty());

    const UINT passed[] = {SPFILENOTIFY_STARTQUEUE, SPFILENOTIFY_STARTCOPY, SPFILENOTIFY_STARTDELETE,
                           SPFILENOTIFY_RENAMEERROR, SPFILENOTIFY_ENDQUEUE};
    for (UINT n : passed) EXPECT_EQ(setup_QueueCallback(&record, n, 0, 0), (UINT)FILEOP_DOIT);
    EXPECT_EQ(g_log.notifications, std::vector<UINT>(std::begin(passed), std::end(passed)));
    EXPECT_EQ(g_log.context, &context);
    EXPECT_EQ(record.copyFailures, 0);

    // A copy error or a missing source answered with skip leaves a file out: it is counted.
    g_log.answer = FILEOP_SKIP;
    EXPECT_EQ(setup_QueueCallback(&record, SPFILENOTIFY_COPYERROR, 0, 0), (UINT)FILEOP_SKIP);
    EXPECT_EQ(setup_QueueCallback(&record, SPFILENOTIFY_NEEDMEDIA, 0, 0), (UINT)FILEOP_SKIP);
    EXPECT_EQ(record.copyFailures, 2);
    FILEPATHS_A paths = {};
    paths.Win32Error = ERROR_ACCESS_DENIED;
    setup_QueueCallback(&record, SPFILENOTIFY_ENDCOPY, (UINT_PTR)&paths, 0);
    EXPECT_EQ(record.copyFailures, 3);

    // Quiet Setup answers whatever would prompt itself, into its log; a newer installed file stays
    // unless the user agreed to go back to an older version.
    ASSERT_TRUE(setup_OpenLog((folder + "quiet.log").c_str()));
    paths.Target = "c:\\dest\\paint.exe";
    SOURCE_MEDIA_A media = {};
    media.SourcePath = "c:\\src";
    media.SourceFile = "paint.exe";
    // A source that is there is for the default callback to take (it asks for every file).
    std::string present = folder + "present";
    CreateDirectoryA(present.c_str(), nullptr);
    WriteText(present + "\\paint.exe", "the program");
    SOURCE_MEDIA_A there = media;
    there.SourcePath = present.c_str();
    struct {
        int quiet, replaceNewer;
        UINT notification;
        UINT_PTR param;
        UINT answer;
        bool passedOn, counted;
    } rows[] = {
        {1, 0, SPFILENOTIFY_COPYERROR, (UINT_PTR)&paths, FILEOP_SKIP, false, true},
        {1, 0, SPFILENOTIFY_RENAMEERROR, (UINT_PTR)&paths, FILEOP_SKIP, false, true},
        {1, 0, SPFILENOTIFY_NEEDMEDIA, (UINT_PTR)&media, FILEOP_SKIP, false, true},
        {1, 0, SPFILENOTIFY_NEEDMEDIA, (UINT_PTR)&there, FILEOP_DOIT, true, false},
        {1, 0, SPFILENOTIFY_TARGETNEWER, (UINT_PTR)&paths, FALSE, false, true},
        {1, 1, SPFILENOTIFY_TARGETNEWER, (UINT_PTR)&paths, TRUE, false, false},
        {0, 0, SPFILENOTIFY_TARGETNEWER, (UINT_PTR)&paths, FILEOP_DOIT, true, false},
        {1, 0, SPFILENOTIFY_STARTCOPY, (UINT_PTR)&paths, FILEOP_DOIT, true, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.notification);
        setup.quiet = row.quiet;
        setup.replaceNewer = row.replaceNewer;
        g_log.notifications.clear();
        g_log.answer = FILEOP_DOIT;
        SetupCopyRecord quiet = {};
        quiet.defaultContext = &context;
        EXPECT_EQ(setup_QueueCallback(&quiet, row.notification, row.param, 0), row.answer);
        EXPECT_EQ(!g_log.notifications.empty(), row.passedOn);
        EXPECT_EQ(quiet.copyFailures, row.counted ? 1 : 0);
    }
    setup_CloseLog();
    FILE* f = fopen((folder + "quiet.log").c_str(), "rb");
    ASSERT_NE(f, nullptr);
    char text[2048] = {};
    fread(text, 1, sizeof text - 1, f);
    fclose(f);
    EXPECT_EQ(std::string(text),
              "Setup could not copy c:\\dest\\paint.exe: " + std::string("") + ErrorLine(ERROR_ACCESS_DENIED) +
                  "\r\nSetup could not rename c:\\dest\\paint.exe: " + ErrorLine(ERROR_ACCESS_DENIED) +
                  "\r\nSetup cannot find c:\\src\\paint.exe\r\nA newer c:\\dest\\paint.exe is installed; Setup keeps it\r\n");
}

TEST_F(SetupTest, InstallCopiesRecordsAndMakesTheGroupInOrder)
{
    MakeRunOnceKey(root, false);
    ProgmanServer server(ProgmanServer::kAccept, mainWindow());
    ASSERT_EQ(setup_OpenProgman(), 1);
    Product p = MakeProduct(folder, key);
    g_log = CallbackLog();
    g_log.root = root;
    setup.defaultQueueCallback = WatchingCallback;
    BoxScript boxes;
    EXPECT_EQ(setup_Install(), 1);

    EXPECT_TRUE(FileExists(p.destination + "\\paint.exe"));
    EXPECT_TRUE(FileExists(p.destination + "\\Pages\\blank.bmp"));
    EXPECT_EQ(g_log.copies, 2);
    EXPECT_TRUE(g_log.pathAtFirstCopy) << "DestinationPath was not written before the first copy";
    DWORD type;
    std::string bytes;
    ASSERT_TRUE(ReadValue(root, kUserInfo, "DestinationPath", &type, &bytes));
    EXPECT_STREQ(bytes.c_str(), (p.destination + "\\").c_str());
    // The INF's registry pass ran, with the destination folder as id 65600.
    ASSERT_TRUE(ReadValue(HKEY_CURRENT_USER, (key + "\\Marker").c_str(), "Installed", &type, &bytes));
    EXPECT_STRCASEEQ(bytes.c_str(), p.destination.c_str());
    std::string exe = "[AddItem(\"" + p.destination + "\\paint.exe\",\"Tintwell\")]";
    std::string help = "[AddItem(\"" + p.destination + "\\Help_twk.html\",\"Help\")]";
    EXPECT_EQ(server.commands(), (std::vector<std::string>{"[CreateGroup(\"Tintwell\", v1.0)]", exe, help}));
    EXPECT_TRUE(HasValue(root, kRunOnce, "GrpConv"));
    EXPECT_EQ(started, std::vector<std::string>{RunOnceStarted()});
    // The folders the install made, for the uninstall to remove once they are empty.
    char created[1024];
    ASSERT_TRUE(setup_ReadCreatedFolders(created, sizeof created));
    std::vector<std::string> folders;
    for (const char* f = created; *f; f += strlen(f) + 1) folders.push_back(f);
    EXPECT_EQ(folders, (std::vector<std::string>{p.destination + "\\", p.destination + "\\Pages\\"}));
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.lastText(), setup_kCompleted);
    EXPECT_EQ(setup.inf, INVALID_HANDLE_VALUE);
}

TEST_F(SetupTest, InstallAsksProgmanAgainWhenNobodyAnsweredAtStartUp)
{
    MakeRunOnceKey(root, false);
    Product p = MakeProduct(folder, key);
    ASSERT_EQ(setup.progman, nullptr);
    ProgmanServer server(ProgmanServer::kAccept, mainWindow());  // up only after start-up
    BoxScript boxes;
    EXPECT_EQ(setup_Install(), 1);
    EXPECT_EQ(server.commands().size(), 3u);
    EXPECT_EQ(boxes.lastText(), setup_kCompleted);
}

TEST_F(SetupTest, AFailedCopyIsReportedAndNothingElseFollows)
{
    struct {
        const char* what;
        const char* extraFile;
        bool installSection;
        std::string destination;  // empty: the product's own
        std::string message;
        bool recorded;            // DestinationPath is written first all the same
        bool registryFails;       // the INF's registry pass fails after the copy
    } cases[] = {
        {"a listed file is missing", "ghost.exe", true, "", Contact(setup_kNotCopied), true, false},
        {"no install section", nullptr, false, "", Contact(setup_kNotCopied), true, false},
        {"a file in the way", nullptr, true, "blocker", Contact(setup_kNotCopied), true, false},
        {"an invalid name", nullptr, true, "c:\\bad|na<me>", Contact(setup_kNotCopied), true, false},
        {"the registry pass fails", nullptr, true, "", Contact(setup_kNotRegistered), true, true},
        // Folders that name no place: nothing is recorded and nothing lands beside Setup.
        {"259 characters", nullptr, true, "c:\\" + std::string(256, 'a'), Contact(setup_kNoDestination), false, false},
        {"a relative folder", nullptr, true, "Tintwell", Contact(setup_kNoDestination), false, false},
        {"a drive-relative folder", nullptr, true, "D:Games", Contact(setup_kNoDestination), false, false},
        {"a relative path", nullptr, true, "Kids\\Paint", Contact(setup_kNoDestination), false, false},
        {"a server without a share", nullptr, true, "\\\\server", Contact(setup_kNoDestination), false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteKeyTree(root, "Software");
        DeleteKeyTree(HKEY_CURRENT_USER, (key + "\\Marker").c_str());
        RemoveTree(folder + "dest");
        MakeRunOnceKey(root, true);
        started.clear();
        ProgmanServer server(ProgmanServer::kAccept, mainWindow());
        ASSERT_EQ(setup_OpenProgman(), 1);
        Product p = MakeProduct(folder, key, c.extraFile, c.installSection);
        std::string destination = c.destination;
        if (destination == "blocker") {
            destination = folder + "blocker";
            WriteText(destination, "a file where the folder should be");
        }
        if (!destination.empty()) snprintf(setup.destination, SETUP_TEXT, "%s", destination.c_str());
        setup.installSection = c.registryFails ? FailingRegistryPass : SetupInstallFromInfSectionA;
        // Setup started by a double-click runs in its own folder.
        char before[MAX_PATH];
        GetCurrentDirectoryA(sizeof before, before);
        SetCurrentDirectoryA(p.source.c_str());
        BoxScript boxes;
        EXPECT_EQ(setup_Install(), 0);
        SetCurrentDirectoryA(before);
        EXPECT_EQ(setup_ExitCode, SETUP_EXIT_FAILED);
        ASSERT_EQ(boxes.count(), 1u);
        EXPECT_EQ(boxes.lastText(), c.message);
        EXPECT_EQ(HasValue(root, kUserInfo, "DestinationPath"), c.recorded);
        if (c.registryFails) {
            EXPECT_TRUE(FileExists(p.destination + "\\paint.exe")) << "the copy came before the registry pass";
        }
        if (!c.recorded) {
            EXPECT_FALSE(FileExists(p.source + destination + "\\paint.exe")) << "installed beside Setup";
        }
        EXPECT_TRUE(server.commands().empty());
        EXPECT_FALSE(HasValue(root, kRunOnce, "GrpConv"));
        EXPECT_FALSE(HasValue(root, kRunOnce, "Wrapper"));
        EXPECT_TRUE(started.empty());
        EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, (key + "\\Marker").c_str(), "Installed"));
        EXPECT_EQ(setup.inf, INVALID_HANDLE_VALUE);
        EXPECT_EQ(setup.progman, nullptr);
    }
}

// ---------------------------------------------------------------- the wizard's pages

namespace {

enum Page { kSplash, kAgreement, kDestination, kAbort };

Page PageOf(HWND dialog)
{
    if (GetDlgItem(dialog, IDC_SETUP_AGREEMENT)) return kAgreement;
    if (GetDlgItem(dialog, IDC_SETUP_FOLDER)) return kDestination;
    if (GetDlgItem(dialog, IDC_SETUP_ABORT_TEXT)) return kAbort;
    return kSplash;
}

std::string Text(HWND window)
{
    char text[4096] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

struct PageStep {
    Page page;
    int button;              // the button pressed on it
    const char* typeFolder;  // typed into the destination page before the button, or nullptr
};

// Answers the wizard's pages in turn and records what each showed.
struct WizardScript {
    std::vector<PageStep> steps;
    size_t next = 0;
    std::vector<std::string> seen;
    bool handle(HWND dialog)
    {
        Page page = PageOf(dialog);
        if (page == kSplash) {
            RECT r;
            GetWindowRect(dialog, &r);
            seen.push_back("splash " + std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top));
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);  // Escape
            return true;
        }
        if (next >= steps.size() || steps[next].page != page) {
            ADD_FAILURE() << "unexpected page " << page;
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            return true;
        }
        const PageStep& step = steps[next++];
        switch (page) {
        case kAgreement:
            seen.push_back("agreement '" + Text(dialog) + "' " +
                           (Text(GetDlgItem(dialog, IDC_SETUP_AGREEMENT)) == setup_kAgreement ? "text" : "no text"));
            break;
        case kDestination:
            seen.push_back("destination '" + Text(GetDlgItem(dialog, IDC_SETUP_FOLDER_LABEL)) + "' '" +
                           Text(GetDlgItem(dialog, IDC_SETUP_FOLDER)) + "'");
            if (step.typeFolder) SetDlgItemTextA(dialog, IDC_SETUP_FOLDER, step.typeFolder);
            break;
        case kAbort: seen.push_back("abort '" + Text(GetDlgItem(dialog, IDC_SETUP_ABORT_TEXT)) + "'"); break;
        default: break;
        }
        PostMessageA(dialog, WM_COMMAND, step.button, 0);
        return true;
    }
};

}  // namespace

TEST_F(SetupTest, WizardCancelThenResumeInstallsIntoTheFolderShownBefore)
{
    MakeRunOnceKey(root, false);
    ProgmanServer server(ProgmanServer::kAccept, mainWindow());
    ASSERT_EQ(setup_OpenProgman(), 1);
    Product p = MakeProduct(folder, key);
    WizardScript script;
    script.steps = std::vector<PageStep>{{kAgreement, IDCANCEL, nullptr},
                    {kAbort, IDOK, nullptr},  // Resume
                    {kDestination, IDCANCEL, "c:\\elsewhere"},
                    {kAbort, IDOK, nullptr}};
    BoxScript boxes;
    boxes.onDialog([&](HWND dialog) { return script.handle(dialog); });
    EXPECT_EQ(setup_RunWizard(), SETUP_EXIT_DONE);
    EXPECT_EQ(script.next, script.steps.size());
    const std::string abort =
        "abort 'Setup is not complete.  If you exit now, the program will not be installed on your computer.'";
    int border = tb_Round(2.5 * GetSystemMetrics(SM_CXFRAME));
    ASSERT_EQ(script.seen.size(), 5u);
    EXPECT_EQ(script.seen[0], "splash " + std::to_string(320 + border) + "x" + std::to_string(200 + border));
    EXPECT_EQ(script.seen[1], "agreement 'Tintwell' text");
    EXPECT_EQ(script.seen[2], abort);
    EXPECT_EQ(script.seen[3], "destination 'Tintwell will be installed in the following folder.' '" + p.destination + "'");
    EXPECT_EQ(script.seen[4], abort);
    EXPECT_TRUE(FileExists(p.destination + "\\paint.exe"));
    EXPECT_EQ(boxes.lastText(), setup_kCompleted);
}

TEST_F(SetupTest, WizardFinishUsesTheTypedFolderAndExitInstallsNothing)
{
    MakeRunOnceKey(root, false);
    {
        ProgmanServer server(ProgmanServer::kAccept, mainWindow());
        ASSERT_EQ(setup_OpenProgman(), 1);
        Product p = MakeProduct(folder, key);
        std::string typed = folder + "typed";
        WizardScript script;
        script.steps = std::vector<PageStep>{{kAgreement, IDOK, nullptr}, {kDestination, IDOK, typed.c_str()}};
        BoxScript boxes;
        boxes.onDialog([&](HWND dialog) { return script.handle(dialog); });
        EXPECT_EQ(setup_RunWizard(), SETUP_EXIT_DONE);
        EXPECT_TRUE(FileExists(typed + "\\paint.exe"));
        EXPECT_TRUE(FileExists(typed + "\\Pages\\blank.bmp"));
        EXPECT_FALSE(FileExists(p.destination));
    }
    DeleteKeyTree(root, "Software\\Marrowby");
    {
        ProgmanServer server(ProgmanServer::kAccept, mainWindow());
        ASSERT_EQ(setup_OpenProgman(), 1);
        Product p = MakeProduct(folder, key);
        WizardScript script;
        script.steps = std::vector<PageStep>{{kAgreement, IDOK, nullptr}, {kDestination, IDCANCEL, nullptr}, {kAbort, IDCANCEL, nullptr}};
        BoxScript boxes;
        boxes.onDialog([&](HWND dialog) { return script.handle(dialog); });
        EXPECT_EQ(setup_RunWizard(), SETUP_EXIT_CANCELLED);
        EXPECT_EQ(script.next, script.steps.size());
        EXPECT_EQ(boxes.count(), 0u);
        EXPECT_FALSE(FileExists(p.destination));
        EXPECT_FALSE(HasValue(root, kUserInfo, "DestinationPath"));
        EXPECT_TRUE(server.commands().empty());
        // Exit lets Program Manager go.
        EXPECT_EQ(setup.progman, nullptr);
        EXPECT_EQ(server.terminates(), 1);
    }
}

// ---------------------------------------------------------------- earlier installs

TEST_F(SetupTest, EarlierInstallsAreReplacedMovedOrLeftAlone)
{
    const char kEntry[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tintwell";
    struct {
        const char* what;
        const char* by;       // its InstalledBy ("" for none)
        const char* version;  // its DisplayVersion
        bool elsewhere;       // in another folder than the one Setup installs into
        bool setupInf;        // made when Setup left its INF as setup.inf
        int quiet, answer;    // quiet Setup, else the answer to the question about a newer version
        int exitCode;
    } rows[] = {
        {"the package's", "msi", "1.0.1", false, false, 1, 0, SETUP_EXIT_FAILED},
        {"a newer one, quiet", "setup", "1.0.9", false, false, 1, 0, SETUP_EXIT_FAILED},
        {"a newer one, No", "setup", "1.0.9", false, false, 0, IDNO, SETUP_EXIT_CANCELLED},
        {"a newer one, Yes", "setup", "1.0.9", false, false, 0, IDYES, SETUP_EXIT_DONE},
        {"one with setup.inf in the same folder", "", "1.0", false, true, 1, 0, SETUP_EXIT_DONE},
        {"an older one elsewhere", "setup", "1.0.2", true, false, 1, 0, SETUP_EXIT_DONE},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        DeleteKeyTree(root, "Software");
        RemoveTree(folder + "dest");
        RemoveTree(folder + "old");
        MakeRunOnceKey(root, false);
        Product p = MakeProduct(folder, key);
        // The earlier install: its files, a picture of the child's, its registry values.
        std::string earlier = (r.elsewhere ? folder + "old" : p.destination) + "\\";
        CreateDirectoryA(earlier.c_str(), nullptr);
        CreateDirectoryA((earlier + "Pages").c_str(), nullptr);
        CreateDirectoryA((earlier + "Gallery").c_str(), nullptr);
        WriteText(earlier + "paint.exe", "the earlier program");
        WriteText(earlier + "Pages\\blank.bmp", "a page");
        WriteText(earlier + "Gallery\\mine.bmp", "a picture");
        CopyFileA((p.source + "setup.inf").c_str(), (earlier + (r.setupInf ? "setup.inf" : "tintwell.inf")).c_str(), FALSE);
        HKEY k;
        ASSERT_EQ(RegCreateKeyExA(root, kUserInfo, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr), ERROR_SUCCESS);
        RegSetValueExA(k, "DestinationPath", 0, REG_SZ, (const BYTE*)earlier.c_str(), (DWORD)earlier.size() + 1);
        RegSetValueExA(k, "InstalledBy", 0, REG_SZ, (const BYTE*)r.by, (DWORD)strlen(r.by) + 1);
        RegCloseKey(k);
        std::string created = earlier + '\0' + earlier + "Pages\\" + '\0' + '\0';
        setup_WriteCreatedFolders(created.data(), created.size());
        ASSERT_EQ(RegCreateKeyExA(root, kEntry, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr), ERROR_SUCCESS);
        std::string command = r.setupInf ? "rundll32 setupapi.dll,InstallHinfSection DefaultUninstall 132 " + earlier + "setup.inf"
                                         : "\"" + earlier + "uninstall.exe\"";
        RegSetValueExA(k, "DisplayVersion", 0, REG_SZ, (const BYTE*)r.version, (DWORD)strlen(r.version) + 1);
        RegSetValueExA(k, "UninstallString", 0, REG_SZ, (const BYTE*)command.c_str(), (DWORD)command.size() + 1);
        RegCloseKey(k);

        snprintf(setup.version, sizeof setup.version, "%s", "1.0.5");
        setup.quiet = r.quiet;
        BoxScript boxes;
        if (r.answer) boxes.queue(r.answer);
        setup_Install();
        EXPECT_EQ(setup_ExitCode, r.exitCode);
        std::string program;
        {
            FILE* f = fopen((p.destination + "\\paint.exe").c_str(), "rb");
            char text[64] = {};
            if (f) {
                fread(text, 1, sizeof text - 1, f);
                fclose(f);
            }
            program = text;
        }
        EXPECT_EQ(program, r.exitCode == SETUP_EXIT_DONE ? "the program" : "the earlier program");
        EXPECT_TRUE(FileExists(earlier + "Gallery\\mine.bmp"));
        if (r.setupInf) {
            EXPECT_FALSE(FileExists(earlier + "setup.inf")) << "the earlier install's INF was left";
            EXPECT_FALSE(HasValue(root, kEntry, "UninstallString")) << "the earlier entry was not replaced";
        }
        if (r.elsewhere) {
            // Only the Gallery is left where the earlier install was, and Setup says where it is.
            EXPECT_FALSE(FileExists(earlier + "paint.exe"));
            EXPECT_FALSE(FileExists(earlier + "Pages"));
            EXPECT_FALSE(FileExists(earlier + "tintwell.inf"));
            EXPECT_STREQ(setup.keptGallery, (earlier + "Gallery").c_str());
        }
        if (!r.quiet) {
            ASSERT_GE(boxes.count(), 1u);
            EXPECT_EQ(boxes.seen()[0].text.find("Tintwell 1.0.9 is installed, which is newer"), 0u);
        } else {
            EXPECT_EQ(boxes.count(), 0u) << "quiet Setup showed " << boxes.lastText();
        }
        setup.quiet = 0;
        setup.replaceNewer = 0;
    }
}
