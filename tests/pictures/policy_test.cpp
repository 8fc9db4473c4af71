// The grown-ups' settings as the program reads them from the registry: every value, the machine's
// well-formed value before the user's, and every malformed kind (wrong type, out of range, empty,
// too long, not a whole path). The values are written under a key of this test's own.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "pictures/policy.h"

namespace {

struct Write {
    HKEY root;
    const char* name;
    DWORD type;
    std::string data;  // a string value's text, or the bytes of other types
};
Write Machine(const char* name, DWORD type, std::string data) { return {HKEY_LOCAL_MACHINE, name, type, data}; }
Write User(const char* name, DWORD type, std::string data) { return {HKEY_CURRENT_USER, name, type, data}; }
Write Machine(const char* name, DWORD n) { return Machine(name, REG_DWORD, std::string((const char*)&n, 4)); }
Write User(const char* name, DWORD n) { return User(name, REG_DWORD, std::string((const char*)&n, 4)); }

// What the record holds, set fields only, in a fixed order.
std::string Describe(const Policy& p)
{
    static const char* const kPreference[] = {"Sound", "StretchPictures", "Animation", "LightPrint"};
    std::ostringstream out;
    for (int i = 0; i < POLICY_PREFERENCES; ++i)
        if (p.preference[i] != POLICY_NOT_SET) out << kPreference[i] << "=" << p.preference[i] << " ";
    if (p.picturesState != POLICY_FOLDER_NOT_SET)
        out << "PicturesFolder=" << (p.picturesState == POLICY_FOLDER_SET ? "" : "unusable") << p.picturesFolder << " ";
    if (p.pagesFolder[0]) out << "PagesFolder=" << p.pagesFolder << " ";
    const std::pair<const char*, int> numbers[] = {
        {"NoQuit", p.noQuit}, {"NoPrint", p.noPrint}, {"PrintInterval", p.printInterval}, {"NoPreferences", p.noPreferences}};
    for (const auto& n : numbers)
        if (n.second) out << n.first << "=" << n.second << " ";
    std::string s = out.str();
    return s.empty() ? s : s.substr(0, s.size() - 1);
}

}  // namespace

TEST(Policy, EveryValueItsPrecedenceAndEveryMalformedKind)
{
    const std::string key = "Software\\Policies\\Marrowby\\TintwellTest" + std::to_string(GetCurrentProcessId());
    char user[256] = {};
    GetEnvironmentVariableA("USERNAME", user, sizeof user);
    ASSERT_TRUE(user[0]);
    SetEnvironmentVariableA("TINTWELL_TEST_LONG", std::string(300, 'x').c_str());
    const std::string tenThousand = "C:\\" + std::string(10000, 'a');

    struct Row {
        const char* what;
        std::vector<Write> writes;
        std::string expected;
    } rows[] = {
        {"nothing set", {}, ""},
        {"each on/off value from the machine",
         {Machine("Sound", 0), Machine("StretchPictures", 1), Machine("Animation", 0), Machine("LightPrint", 1),
          Machine("NoQuit", 1), Machine("NoPrint", 1), Machine("NoPreferences", 1)},
         "Sound=0 StretchPictures=1 Animation=0 LightPrint=1 NoQuit=1 NoPrint=1 NoPreferences=1"},
        {"each from the user", {User("Sound", 1), User("Animation", 1), User("PrintInterval", 60)},
         "Sound=1 Animation=1 PrintInterval=60"},
        {"the machine's 0 wins", {Machine("Sound", 0), User("Sound", 1), Machine("NoQuit", 0), User("NoQuit", 1)},
         "Sound=0"},
        {"a DWORD of 7 is not set", {Machine("Sound", 7), Machine("NoPrint", 7), Machine("LightPrint", 7)}, ""},
        {"the machine's 7 leaves the user's", {Machine("StretchPictures", 7), User("StretchPictures", 0)},
         "StretchPictures=0"},
        {"wrong types", {Machine("Sound", REG_SZ, "1"), Machine("NoQuit", REG_BINARY, std::string("\1\0\0\0", 4)),
                         User("Animation", REG_QWORD, std::string("\1\0\0\0\0\0\0\0", 8))},
         ""},
        {"intervals at and beyond the ends",
         {Machine("PrintInterval", 86401), User("PrintInterval", 86400)}, "PrintInterval=86400"},
        {"an interval of 0", {Machine("PrintInterval", 0), User("PrintInterval", 1)}, "PrintInterval=1"},
        {"folders as written", {Machine("PicturesFolder", REG_SZ, "H:\\"), User("PagesFolder", REG_SZ, "\\\\server\\pages")},
         "PicturesFolder=H:\\ PagesFolder=\\\\server\\pages\\"},
        {"variables expanded", {User("PicturesFolder", REG_EXPAND_SZ, "C:\\pupils\\%USERNAME%")},
         "PicturesFolder=C:\\pupils\\" + std::string(user) + "\\"},
        {"the machine's folder wins", {Machine("PicturesFolder", REG_SZ, "H:\\a"), User("PicturesFolder", REG_SZ, "H:\\b")},
         "PicturesFolder=H:\\a\\"},
        {"an empty folder", {Machine("PicturesFolder", REG_SZ, ""), Machine("PagesFolder", REG_SZ, "")},
         "PicturesFolder=unusable"},
        {"a folder of the wrong type", {User("PicturesFolder", 1), User("PagesFolder", 1)}, "PicturesFolder=unusable"},
        {"a 10,000-character folder",
         {Machine("PicturesFolder", REG_SZ, tenThousand), Machine("PagesFolder", REG_EXPAND_SZ, tenThousand)},
         "PicturesFolder=unusable"},
        {"too long once expanded", {User("PicturesFolder", REG_EXPAND_SZ, "C:\\%TINTWELL_TEST_LONG%")},
         "PicturesFolder=unusable"},
        {"not a whole path", {User("PicturesFolder", REG_SZ, "pupils\\anna"), User("PagesFolder", REG_SZ, "C:")},
         "PicturesFolder=unusable"},
        {"the machine's unusable folder leaves the user's",
         {Machine("PicturesFolder", REG_SZ, ""), User("PicturesFolder", REG_SZ, "\\\\server\\pupils\\")},
         "PicturesFolder=\\\\server\\pupils\\"},
    };
    std::set<std::string> covered;
    for (const Row& row : rows) {
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) RegDeleteKeyA(root, key.c_str());
        for (const Write& w : row.writes) {
            HKEY k = nullptr;
            ASSERT_EQ(RegCreateKeyExA(w.root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &k,
                                      nullptr),
                      ERROR_SUCCESS);
            DWORD size = (DWORD)w.data.size() + (w.type == REG_SZ || w.type == REG_EXPAND_SZ);  // strings end in 0
            ASSERT_EQ(RegSetValueExA(k, w.name, 0, w.type, (const BYTE*)w.data.c_str(), size), ERROR_SUCCESS) << row.what;
            RegCloseKey(k);
            covered.insert(w.name);
        }
        EXPECT_EQ(Describe(policy_ReadFrom(key.c_str())), row.expected) << row.what;
    }
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) RegDeleteKeyA(root, key.c_str());
    SetEnvironmentVariableA("TINTWELL_TEST_LONG", nullptr);

    // Every value the program knows is in the table, and the administrative template describes
    // exactly those.
    std::set<std::string> known(kPolicyValueNames, kPolicyValueNames + kPolicyValueCount);
    EXPECT_EQ(covered, known);
    std::ifstream admx(TINTWELL_POLICY_TEMPLATE);
    ASSERT_TRUE(admx.good()) << TINTWELL_POLICY_TEMPLATE;
    std::string text((std::istreambuf_iterator<char>(admx)), std::istreambuf_iterator<char>());
    std::set<std::string> described;
    for (size_t at = text.find("valueName=\""); at != std::string::npos; at = text.find("valueName=\"", at + 1)) {
        size_t from = at + 11;
        described.insert(text.substr(from, text.find('"', from) - from));
    }
    EXPECT_EQ(described, known);
}
