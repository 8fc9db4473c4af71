// The preferences file at every length from 0 to 64 bytes and some far larger, filled by many
// seeds with random bytes, zeros, all ones and edge values: start-up reads what each length
// holds (a value cut short read over the default's bytes, values beyond the end kept at their
// defaults), leaves the file alone, and the next save writes 16 bytes that read back the same.
#include <gtest/gtest.h>

#include "mutate.h"
#include "mutate_checks.h"
#include "pictures/preferences.h"
#include "toolbox.h"

namespace {

std::string PrefsPlace()
{
    char path[MAX_PATH + 16];
    tb_PrefsWindowsPath(path);
    return path;
}

struct Values {
    INT32 v[4];
    bool operator==(const Values& o) const { return memcmp(v, o.v, sizeof v) == 0; }
};
std::ostream& operator<<(std::ostream& os, const Values& x)
{
    return os << x.v[0] << ", " << x.v[1] << ", " << x.v[2] << ", " << x.v[3];
}

Values StartUp()
{
    tb_SetSoundPreference(0);
    preferences = {0, 0, 0};
    prefs_SetDefaults();
    prefs_Load();
    return {{tb_GetSoundPreference(), preferences.stretchPictures, preferences.animation, preferences.lightPrint}};
}

// What a file of these bytes must give: each 4-byte value present read over the default 1.
Values Expected(const mutate::Bytes& bytes)
{
    Values e;
    for (int v = 0; v < 4; ++v) {
        mutate::Bytes word = {1, 0, 0, 0};
        for (int i = 0; i < 4; ++i)
            if ((size_t)(4 * v + i) < bytes.size()) word[i] = bytes[4 * v + i];
        e.v[v] = (INT32)mutate::Get32(word, 0);
    }
    return e;
}

mutate::Bytes Content(mutate::Random& r, size_t length, int style)
{
    mutate::Bytes b(length);
    for (size_t i = 0; i < length; ++i) {
        switch (style) {
        case 0: b[i] = 0; break;
        case 1: b[i] = 0xFF; break;
        case 2: b[i] = (i % 4 == 0) ? (uint8_t)r.Below(3) : 0; break;  // 0, 1 or 2 as written
        default: b[i] = r.Byte(); break;
        }
    }
    if (style == 4)  // edge words
        for (size_t i = 0; i + 4 <= length; i += 4) mutate::Put32(b, i, mutate::BoundaryValue(r, 4));
    return b;
}

class PrefsMutation : public testing::Test {
protected:
    void SetUp() override { Forget(); }
    void TearDown() override { Forget(); }
    void Forget()
    {
        SetFileAttributesA(place.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(place.c_str());
    }
    void Check(const mutate::Bytes& bytes, const std::string& what)
    {
        ASSERT_TRUE(mutate::WriteBytes(place, bytes)) << what;
        Values got = StartUp();
        ASSERT_EQ(got, Expected(bytes)) << what;
        // A file that could be read is never rewritten at start-up.
        ASSERT_TRUE(mutate::ReadBytes(place) == bytes) << what;
        // The next save writes the 16-byte file, which gives the same values back.
        prefs_Save();
        mutate::Bytes saved = mutate::ReadBytes(place);
        ASSERT_EQ(saved.size(), 16u) << what;
        ASSERT_EQ(Expected(saved), got) << what;
        ASSERT_EQ(StartUp(), got) << what;
    }
    std::string place = PrefsPlace();
};

}  // namespace

TEST_F(PrefsMutation, EveryLengthUpTo64WithManySeeds)
{
    BoxScript boxes;
    for (uint64_t seed = 1; seed <= 6; ++seed) {
        mutate::Random r(seed);
        for (size_t length = 0; length <= 64; ++length) {
            int style = seed <= 5 ? (int)seed - 1 : 3;
            Check(Content(r, length, style), "seed " + std::to_string(seed) + " length " + std::to_string(length));
            if (HasFatalFailure()) return;
        }
    }
    EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(PrefsMutation, LargeFilesAreReadFromTheirFirst16Bytes)
{
    BoxScript boxes;
    mutate::Random r(77);
    for (size_t length : {65u, 100u, 255u, 256u, 1000u, 4096u, 65536u, 1u << 20}) {
        for (int style = 0; style < 5; ++style) {
            Check(Content(r, length, style), "length " + std::to_string(length) + " style " + std::to_string(style));
            if (HasFatalFailure()) return;
        }
    }
    EXPECT_EQ(boxes.count(), 0u);
}
