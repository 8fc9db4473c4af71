// Reading "setup.inf" with its defaults, and the two directory ids given to the Setup API.
#include "setup_test_util.h"

namespace {

std::string Contact(const char* sentence) { return std::string(sentence) + setup_kContactLines; }

struct InfCase {
    const char* what;
    const char* strings;  // the "Strings" section's lines
    const char* product;
    const char* destination;
    const char* group;
    const char* exe;
    const char* help;
    const char* sub;
};

const InfCase kInfCases[] = {
    {"every key",
     "PRODUCT_DESC=\"Tintwell\"\r\nDESTINATION_DIR=\"c:\\Program Files\\Marrowby\\Tintwell\\\"\r\n"
     "PROGRAM_GROUP=\"Tintwell\"\r\nPROGRAM_EXE=\"paint.exe\"\r\nPROGRAM_HELP=\"Help_twk.html\"\r\n"
     "DESTINATION_SUB=\"Pages\\\"\r\n",
     "Tintwell", "c:\\Program Files\\Marrowby\\Tintwell\\", "Tintwell", "paint.exe", "Help_twk.html", "Pages\\"},
    {"no keys", "", "This Product", "c:\\Program Files\\Marrowby\\This Product", "", "", "", ""},
    // The default folder is made from the default description, read before the INF's.
    {"description only", "PRODUCT_DESC=\"Crayons\"\r\n", "Crayons", "c:\\Program Files\\Marrowby\\This Product", "",
     "", "", ""},
    {"folder and group only", "DESTINATION_DIR=\"d:\\Kids\"\r\nPROGRAM_GROUP=\"Fun\"\r\n", "This Product",
     "d:\\Kids", "Fun", "", "", ""},
};

}  // namespace

TEST_F(SetupTest, InfValuesAndTheirDefaults)
{
    for (const InfCase& c : kInfCases) {
        SCOPED_TRACE(c.what);
        BoxScript boxes;
        ASSERT_EQ(readInf(StringsSection(c.strings)), 1);
        EXPECT_EQ(boxes.count(), 0u);
        EXPECT_STREQ(setup.productDescription, c.product);
        EXPECT_STREQ(setup.destination, c.destination);
        EXPECT_STREQ(setup.programGroup, c.group);
        EXPECT_STREQ(setup.programExe, c.exe);
        EXPECT_STREQ(setup.programHelp, c.help);
        EXPECT_STREQ(setup.destinationSub, c.sub);
        EXPECT_EQ(setup.sourceRoot, folder);
        EXPECT_NE(setup.inf, INVALID_HANDLE_VALUE);
    }
}

TEST_F(SetupTest, AValueLongerThanItsBufferKeepsTheDefault)
{
    BoxScript boxes;
    std::string longName(300, 'x');
    ASSERT_EQ(readInf(StringsSection("PRODUCT_DESC=\"" + longName + "\"\r\n")), 1);
    EXPECT_STREQ(setup.productDescription, "This Product");
}

TEST_F(SetupTest, AnInfThatCannotBeOpenedIsReportedWithTheContactLines)
{
    // A good INF in the current folder, which a cut path would open instead.
    std::string current = folder + "current\\";
    CreateDirectoryA(current.c_str(), nullptr);
    WriteText(current + "setup.inf", StringsSection("PRODUCT_DESC=\"Elsewhere\"\r\n"));
    char before[MAX_PATH];
    GetCurrentDirectoryA(sizeof before, before);
    SetCurrentDirectoryA(current.c_str());
    const std::string mine = folder + "setup.exe";
    struct {
        const char* what;
        bool write;
        const char* text;
        std::string program;  // where Setup runs from
    } cases[] = {
        {"no file", false, "", mine},
        {"empty file", true, "", mine},
        {"no version section", true, "[Strings]\r\nPRODUCT_DESC=\"Tintwell\"\r\n", mine},
        {"a source folder too long for setup.inf", false, "", "c:\\" + std::string(251, 's') + "\\setup.exe"},
        {"a source folder too long to keep", false, "", "c:\\" + std::string(296, 's') + "\\setup.exe"},
        {"a program path too long to be read", false, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        BoxScript boxes;
        std::string path = folder + "setup.inf";
        DeleteFileA(path.c_str());
        if (c.write) WriteText(path, c.text);
        EXPECT_EQ(setup_ReadInfBeside(c.program.c_str()), 0);
        ASSERT_EQ(boxes.count(), 1u);
        EXPECT_EQ(boxes.seen()[0].caption, "Attention!");
        EXPECT_EQ(boxes.seen()[0].text, Contact(setup_kMissingFiles));
        EXPECT_EQ(boxes.seen()[0].owner, mainWindow());
        EXPECT_EQ(setup.inf, INVALID_HANDLE_VALUE);
        EXPECT_STREQ(setup.productDescription, "This Product");
    }
    SetCurrentDirectoryA(before);
}

TEST_F(SetupTest, AFolderGetsItsFinalBackslashWhenThereIsRoom)
{
    struct {
        std::string in, out;
    } cases[] = {
        {"c:\\Kids", "c:\\Kids\\"},
        {"c:\\Kids\\", "c:\\Kids\\"},
        {"", ""},
        {std::string(258, 'a'), std::string(258, 'a') + "\\"},
        {std::string(259, 'a'), std::string(259, 'a')},  // no room left in a buffer of 260
    };
    for (const auto& c : cases) {
        char buffer[SETUP_TEXT];
        snprintf(buffer, sizeof buffer, "%s", c.in.c_str());
        setup_EndWithBackslash(buffer, sizeof buffer);
        EXPECT_EQ(std::string(buffer), c.out) << c.in.size() << " characters";
    }
}

TEST_F(SetupTest, DirectoryIdsNameTheDestinationAndItsSubFolder)
{
    BoxScript boxes;
    ASSERT_EQ(readInf(StringsSection("DESTINATION_SUB=\"Pages\\\"\r\n") +
                      "[DestinationDirs]\r\nTop=65600\r\nSub=65601\r\n[Top]\r\n[Sub]\r\n"),
              1);
    // The Setup API gets each folder without its final backslash (INF lines append "\\name").
    struct {
        std::string destination;
        int ok;
        std::string top, sub;
    } cases[] = {
        {"c:\\Kids\\Paint\\", 1, "c:\\Kids\\Paint", "c:\\Kids\\Paint\\Pages"},
        {"c:\\Kids\\Paint", 1, "c:\\Kids\\Paint", "c:\\Kids\\Paint\\Pages"},
        {"C:/Kids/", 1, "C:\\Kids", "C:\\Kids\\Pages"},
        {"C:/Kids", 1, "C:\\Kids", "C:\\Kids\\Pages"},
        {"c:\\", 1, "c:\\", "c:\\Pages"},
        {"\\\\server\\share", 1, "\\\\server\\share", "\\\\server\\share\\Pages"},
        {"//server/share/Kids/", 1, "\\\\server\\share\\Kids", "\\\\server\\share\\Kids\\Pages"},
        {"", 0, "", ""},
        {"Tintwell", 0, "", ""},
        {"D:Games", 0, "", ""},
        {"Kids\\Paint", 0, "", ""},
        {"\\Kids\\Paint", 0, "", ""},
        {"\\\\server", 0, "", ""},
        {"\\\\server\\", 0, "", ""},
        {"c:\\" + std::string(256, 'a'), 0, "", ""},  // 259 characters: no room for the backslash
        {"c:\\" + std::string(250, 'a') + "\\", 0, "", ""},  // the sub-folder would not fit
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.destination.substr(0, 40));
        snprintf(setup.destination, SETUP_TEXT, "%s", c.destination.c_str());
        EXPECT_EQ(setup_SetDirectoryIds(), c.ok);
        if (!c.ok) continue;
        char path[MAX_PATH] = {};
        ASSERT_TRUE(SetupGetTargetPathA(setup.inf, nullptr, "Top", path, sizeof path, nullptr));
        EXPECT_STRCASEEQ(path, c.top.c_str());
        ASSERT_TRUE(SetupGetTargetPathA(setup.inf, nullptr, "Sub", path, sizeof path, nullptr));
        EXPECT_STRCASEEQ(path, c.sub.c_str());
    }
    EXPECT_EQ(boxes.count(), 0u);
}
