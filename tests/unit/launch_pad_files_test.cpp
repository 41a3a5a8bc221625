#include <gtest/gtest.h>

#include "launch/shortcut_files.h"
#include "platform/files.h"
#include "unit/temp_folder.h"

// The shortcut editor's shared file and a shortcut record, byte for byte:
// fixed places, blank padding, nothing ever cut into a wrong path.
TEST(LaunchPadFiles, BookmarksAndRecordsKeepTheirPlaces) {
    using pellion::Bookmarks;
    Bookmarks marks;
    marks.folders[0] = "/home/u/My Docs";
    marks.folders[10] = "/x";
    marks.folders[5] = "/" + std::string(500, 'a');  // no room: left blank
    marks.filters[0] = "*.zzz";                      // a fixed filter is not kept
    marks.filters[2] = "*.txt;*.pdf";
    marks.filters[10] = "*.ini";
    marks.lastFolder = "/tmp/last dir";
    const auto bytes = pellion::BookMrkBytes(marks);

    const auto record = pellion::ShortcutBytes({"/bin/tool", "/tmp/a b", "-x \"y z\"", "Twenty-one chars long"});
    ASSERT_TRUE(record);
    const auto accented = pellion::ShortcutBytes({"/f", "", "", "nineteen letters \xc3\xa9\xc3\xa9"});
    ASSERT_TRUE(accented);

    const struct {
        const pellion::files::Bytes* file;
        std::size_t offset;
        std::string text;  // then blanks up to width
        std::size_t width;
    } cases[] = {
        {&bytes, 0, "/home/u/My\x07" "Docs", 500},
        {&bytes, 2500, "", 500},
        {&bytes, 5000, "/x", 500},
        {&bytes, 5500, "*.txt;*.pdf", 200},
        {&bytes, 5700, "", 200},
        {&bytes, 7100, "*.ini", 200},
        {&bytes, 7300, "/tmp/last dir", 500},
        {&*record, 0, "\xe7\x03/bin/tool", 502},
        {&*record, 502, "/tmp/a b", 500},
        {&*record, 1002, "-x \"y z\"", 500},
        {&*record, 1502, "Twenty-one chars lon", 20},
        {&*accented, 1502, "nineteen letters \xc3\xa9", 20},  // never half a character
    };
    EXPECT_EQ(bytes.size(), 7800u);
    EXPECT_EQ(record->size(), 1522u);
    for (const auto& c : cases) {
        const std::string want = c.text + std::string(c.width - c.text.size(), ' ');
        EXPECT_EQ(std::string(c.file->begin() + std::ptrdiff_t(c.offset),
                              c.file->begin() + std::ptrdiff_t(c.offset + c.width)),
                  want)
            << c.offset;
    }

    // Read back: blanks again in the bookmark, the fixed filters as they were.
    pellion::test::TempFolder dir;
    ASSERT_TRUE(pellion::files::writeWhole(dir.path() + "book.mrk", bytes));
    Bookmarks expected = marks;
    expected.folders[5].clear();
    expected.filters[0] = "*.*";
    EXPECT_EQ(pellion::ReadBookMrk(dir.path() + "book.mrk"), expected);
    EXPECT_EQ(pellion::ReadBookMrk(dir.path() + "missing"), Bookmarks{});
    // A path longer than its place is refused whole.
    EXPECT_FALSE(pellion::ShortcutBytes({"/" + std::string(500, 'a'), "", "", "t"}));
    EXPECT_FALSE(pellion::ShortcutBytes({"/f", "", std::string(501, 'c'), "t"}));
}
