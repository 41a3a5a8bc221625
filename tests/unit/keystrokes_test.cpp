#include "platform/keystrokes.h"

#include <gtest/gtest.h>

using namespace pellion::platform;

TEST(KeyNotation, PasteSequencesParse) {
    auto keys = parseKeys("{HOME}+{END}{BACKSPACE}+{INSERT}{ENTER}");
    ASSERT_TRUE(keys);
    std::vector<KeyStroke> want = {{Key::Home, 0, false}, {Key::End, 0, true}, {Key::Backspace, 0, false},
                                   {Key::Insert, 0, true}, {Key::Enter, 0, false}};
    EXPECT_EQ(*keys, want);
    ASSERT_TRUE(parseKeys("{TAB}{DOWN}{F1}"));
    EXPECT_EQ(parseKeys("")->size(), 0u);
}

TEST(KeyNotation, CharactersIncludingUtf8AndBracedSpecials) {
    auto keys = parseKeys("a\xC3\xA9{+}");
    ASSERT_TRUE(keys);
    ASSERT_EQ(keys->size(), 3u);
    EXPECT_EQ((*keys)[0].character, U'a');
    EXPECT_EQ((*keys)[1].character, U'\u00e9');
    EXPECT_EQ((*keys)[2].character, U'+');
}

TEST(KeyNotation, MalformedStringsAreRefusedWhole) {
    for (const char* bad : {"{NOSUCHKEY}", "{ENTER", "ENTER}", "+", "{HOME}+", "++{END}", "\xC3", "\xFF"})
        EXPECT_FALSE(parseKeys(bad)) << bad;
}
