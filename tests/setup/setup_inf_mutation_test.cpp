// Damaged "setup.inf" files: cut at every kind of place, binary garbage, lines of up to a megabyte,
// lines and sections dropped or doubled, awkward values in the strings and the copy lists, NUL
// bytes, byte-order marks and UTF-16. Setup reads each in-process and installs from some; its
// reaction to every failure the Setup API reports is checked (tests/support/mutate_setup.h).
#include "mutate_setup.h"
#include "setup_test_util.h"

namespace {

std::vector<SeenBox> Since(const BoxScript& boxes, size_t from)
{
    return std::vector<SeenBox>(boxes.seen().begin() + (ptrdiff_t)from, boxes.seen().end());
}

}  // namespace

TEST_F(SetupTest, DamagedInfsAreReadOrRefusedWithTheMissingFilesMessage)
{
    const std::string base = mutate::ProductInf(folder + "dest", key);
    const std::vector<mutate::Bytes> others = {mutate::Bytes(base.begin(), base.end())};
    BoxScript boxes;
    int read = 0, refused = 0;
    for (int i = 0; i < 300; ++i) {
        mutate::Random r = mutate::RandomFor(31, (uint64_t)i);
        int kind;
        std::string text = mutate::MutateText(r, base, others, &kind);
        size_t from = boxes.count();
        int result = readInf(text);
        std::string problem = mutate::CheckInfRead(result, Since(boxes, from));
        ASSERT_EQ(problem, "") << "seed 31 file " << i << " (" << mutate::TextKindName(kind) << ")";
        (result ? read : refused) += 1;
        setup_CloseInf();
    }
    EXPECT_GT(read, 100);
    EXPECT_GT(refused, 5);
}

TEST_F(SetupTest, DamagedInfsInstallWholeOrSayWhyNot)
{
    std::string source = folder + "src\\";
    mutate::MakeProductFiles(source);
    // Deep enough that a sub-folder of "..\..\..\" stays inside the test's folder.
    std::string destination = folder + "a\\b\\c\\dest\\";
    const std::string base = mutate::ProductInf(destination, key);
    const std::vector<mutate::Bytes> others = {mutate::Bytes(base.begin(), base.end())};
    ProgmanServer server(ProgmanServer::kAccept, mainWindow());
    BoxScript boxes;
    int installed = 0, failed = 0;
    for (int i = 0; i < 40; ++i) {
        mutate::Random r = mutate::RandomFor(32, (uint64_t)i);
        int kind;
        std::string text = mutate::MutateText(r, base, others, &kind);
        std::string what = "seed 32 file " + std::to_string(i) + " (" + mutate::TextKindName(kind) + ")";
        ASSERT_TRUE(mutate::WriteTextFile(source + "setup.inf", text));
        size_t from = boxes.count();
        int result = setup_ReadInfFrom((source + "setup.inf").c_str(), source.c_str());
        ASSERT_EQ(mutate::CheckInfRead(result, Since(boxes, from)), "") << what;
        if (!result) continue;
        // The destination page confirms the folder the test chose.
        snprintf(setup.destination, SETUP_TEXT, "%s", destination.c_str());
        RemoveTree(folder + "a\\");
        from = boxes.count();
        int done = setup_Install();
        ASSERT_EQ(mutate::CheckInstall(done, Since(boxes, from)), "") << what;
        (done ? installed : failed) += 1;
    }
    EXPECT_GT(installed, 5);
    EXPECT_GT(failed, 0);
}

// Files the hand-run mutation runs found faults with, kept as they were (the run's folder and
// registry key made placeholders again).
namespace {

struct Finding {
    const char* found;  // the run, the file's number and what went wrong
    const char* inf;    // @DEST@: the destination folder; @KEY@: the registry key of the marker
    int installs;
    const char* sentence;  // what a failed install says (with the contact lines)
};

const Finding kFindings[] = {
    // The "[Program]" header turned into a copy-list entry: the program's copy section is gone,
    // the Setup API copies the pages alone and reports success.
    {"seed 1 file 15 of --what inf: success was reported without the program in place",
     "[Version]\r\nSignature=\"$Windows NT$\"\r\n\r\n[Strings]\r\nPRODUCT_DESC=\"Tintwell\"\r\n"
     "DESTINATION_DIR=\"@DEST@\"\r\nPROGRAM_GROUP=\"Tintwell\"\r\nPROGRAM_EXE=\"paint.exe\"\r\n"
     "PROGRAM_HELP=\"Help_twk.html\"\r\nDESTINATION_SUB=\"Pages\\\"\r\n\r\n[SourceDisksNames]\r\n"
     "1=\"Tintwell\",,,\r\n[SourceDisksFiles]\r\npaint.exe=1\r\nblank.bmp=1,Pages\r\n[DestinationDirs]\r\n"
     "Program=65600\r\nPages=65601\r\n[ProductInstall]\r\nCopyFiles=Program,Pages\r\nAddReg=Marker\r\n"
     "?.exe\r\npaint.exe\r\n[Pages]\r\nblank.bmp\r\n[Marker]\r\n"
     "HKCU,\"@KEY@\\Marker\",Installed,,\"%65600%\"\r\n",
     0, setup_kNotCopied},
};

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

}  // namespace

TEST_F(SetupTest, InfsTheMutationRunsFoundFaultsWith)
{
    std::string source = folder + "src\\";
    mutate::MakeProductFiles(source);
    std::string destination = folder + "dest\\";
    ProgmanServer server(ProgmanServer::kAccept, mainWindow());
    for (const Finding& f : kFindings) {
        SCOPED_TRACE(f.found);
        RemoveTree(destination);
        std::string inf = Replace(Replace(f.inf, "@DEST@", destination), "@KEY@", key);
        ASSERT_TRUE(mutate::WriteTextFile(source + "setup.inf", inf));
        BoxScript boxes;
        ASSERT_EQ(setup_ReadInfFrom((source + "setup.inf").c_str(), source.c_str()), 1);
        EXPECT_EQ(setup_Install(), f.installs);
        EXPECT_EQ(mutate::CheckInstall(f.installs, boxes.seen()), "");
        if (!f.installs) {
            ASSERT_EQ(boxes.count(), 1u);
            EXPECT_EQ(boxes.lastText(), mutate::WithContact(f.sentence));
            EXPECT_TRUE(server.commands().empty()) << "no program group for a program that is not there";
        }
    }
}
