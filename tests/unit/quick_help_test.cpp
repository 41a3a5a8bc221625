#include "help/quick_help.h"

#include <gtest/gtest.h>

#include <optional>

#include "unit/store_fixture.h"

using namespace pellion;

using QuickHelpTest = test::StoreTest;

TEST_F(QuickHelpTest, TopicsAreCutAsTheFileMarksThem) {
    struct Row {
        std::optional<std::string> file;  // nullopt: no quick-help file at all
        int topic;
        std::string shown;
    };
    const std::string nineTen = "##9Nine.\r\n##10Ten..\r\n##11";
    const Row rows[] = {
        {nineTen, 9, "Nine"},
        {nineTen, 10, "Ten."},
        {"##1\r\nHello.\r\n##2", 1, "\r\nHello"},
        {"##46A.\r\n##47Last.\r\n", 47, kHelpFileCorrupt},
        {"##2##1", 1, kHelpFileCorrupt},  // the next marker comes first
        {std::nullopt, 3, kHelpFileCorrupt},
        // Markers are found by their first occurrence: "##1" is the start of "##10".
        {"##10Ten.\r\n##1One.\r\n##2", 1, "0Ten.\r\n##1One"},
        {"##1caf\xe9.\r\n##2", 1, "caf\xc3\xa9"},
        {"##1caf\xc3\xa9.\r\n##2", 1, "caf\xc3\xa9"},
    };
    for (const Row& r : rows) {
        files::remove(data(kQuickHelpFileName));
        if (r.file) files::writeWhole(data(kQuickHelpFileName), *r.file);
        EXPECT_EQ(QuickHelpText(state, r.topic), r.shown) << "topic " << r.topic << " of " << r.file.value_or("none");
        // Created empty, it would hide the shipped file from every later run.
        if (!r.file) {
            EXPECT_FALSE(files::exists(data(kQuickHelpFileName)));
        }
    }
}

TEST(ShippedQuickHelp, EveryTopicIsThere) {
    const auto bytes = files::readAll(PELLION_SOURCE_DIR "/data/pellion.qhp");
    ASSERT_TRUE(bytes) << "no data/pellion.qhp";
    const std::string text(bytes->begin(), bytes->end());
    for (int topic = 1; topic <= 47; ++topic) {
        const std::string cut = CutTopic(text, topic);
        EXPECT_NE(cut, kHelpFileCorrupt) << "topic " << topic;
        EXPECT_NE(cut.find_first_not_of(" \r\n"), std::string::npos) << "topic " << topic << " is empty";
    }
}
