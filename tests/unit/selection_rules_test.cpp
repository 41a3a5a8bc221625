// The display-free rules of the X11 clipboard: target kinds, text folding and
// serving, INCR chunking.
#include <gtest/gtest.h>

#include "platform/x11/selection_rules.h"

namespace pellion::platform::x11 {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(SelectionRules, TargetsAreSortedIntoMetaTextSkipAndNamed) {
    for (const char* meta : {"TARGETS", "TIMESTAMP", "MULTIPLE", "SAVE_TARGETS", "DELETE", "INSERT_SELECTION",
                             "INSERT_PROPERTY", "TARGET_SIZES"})
        EXPECT_EQ(classifyTarget(meta, 300), TargetKind::Meta) << meta;
    EXPECT_EQ(classifyTarget("STRING", 31), TargetKind::Text);  // predefined, but text
    for (const char* text : {"UTF8_STRING", "TEXT", "COMPOUND_TEXT", "text/plain", "text/plain;charset=utf-8"})
        EXPECT_EQ(classifyTarget(text, 400), TargetKind::Text) << text;
    // Core types carry server resource ids; 1 and 7 would pose as text.
    EXPECT_EQ(classifyTarget("PIXMAP", 20), TargetKind::Skip);
    EXPECT_EQ(classifyTarget("PRIMARY", 1), TargetKind::Skip);
    EXPECT_EQ(classifyTarget("COLORMAP", 7), TargetKind::Skip);
    EXPECT_EQ(classifyTarget("", 500), TargetKind::Skip);
    EXPECT_EQ(classifyTarget("text/html", 69), TargetKind::Named);
    EXPECT_EQ(classifyTarget("text/plain;charset=latin1", 300), TargetKind::Named);
    EXPECT_EQ(classifyTarget("PellionClips", 301), TargetKind::Named);

    EXPECT_LT(textRank("UTF8_STRING"), textRank("text/plain;charset=utf-8"));
    EXPECT_LT(textRank("text/plain"), textRank("STRING"));
    EXPECT_LT(textRank("STRING"), textRank("COMPOUND_TEXT"));
    EXPECT_EQ(textRank("text/html"), -1);

    EXPECT_TRUE(isServableId(1));
    EXPECT_TRUE(isServableId(7));
    EXPECT_TRUE(isServableId(69));
    EXPECT_FALSE(isServableId(2));
    EXPECT_FALSE(isServableId(68));
    EXPECT_FALSE(isServableId(0));
}

TEST(SelectionRules, Utf8IsValidatedStrictly) {
    EXPECT_TRUE(isValidUtf8(""));
    EXPECT_TRUE(isValidUtf8("plain"));
    EXPECT_TRUE(isValidUtf8("caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80"));
    EXPECT_FALSE(isValidUtf8("caf\xe9"));             // Latin-1
    EXPECT_FALSE(isValidUtf8("\xc3"));                // cut short
    EXPECT_FALSE(isValidUtf8("\xe2\x82"));            // cut short
    EXPECT_FALSE(isValidUtf8("\xc0\xaf"));            // overlong
    EXPECT_FALSE(isValidUtf8("\xed\xa0\x80"));        // surrogate
    EXPECT_FALSE(isValidUtf8("\xf4\x90\x80\x80"));    // beyond U+10FFFF
    EXPECT_FALSE(isValidUtf8("\xe2\x28\xa1"));        // bad continuation
}

TEST(SelectionRules, TextFoldsIntoUtf8WithOneNul) {
    Bytes out;
    ASSERT_TRUE(foldText("caf\xc3\xa9", TextEncoding::Utf8, out));
    EXPECT_EQ(out, (Bytes{'c', 'a', 'f', 0xC3, 0xA9, 0}));
    ASSERT_TRUE(foldText("caf\xe9", TextEncoding::Latin1, out));
    EXPECT_EQ(out, (Bytes{'c', 'a', 'f', 0xC3, 0xA9, 0}));
    ASSERT_TRUE(foldText("", TextEncoding::Utf8, out));
    EXPECT_EQ(out, Bytes{0});
    // Bytes as sent, an inner NUL included.
    ASSERT_TRUE(foldText(std::string_view("a\0b", 3), TextEncoding::Utf8, out));
    EXPECT_EQ(out, (Bytes{'a', 0, 'b', 0}));
    // Compound text in its initial Latin-1 state reads; with escapes it does not.
    ASSERT_TRUE(foldText("na\xefve", TextEncoding::Compound, out));
    EXPECT_EQ(out, (Bytes{'n', 'a', 0xC3, 0xAF, 'v', 'e', 0}));
    EXPECT_FALSE(foldText("\x1b$)A\xc4\xe3", TextEncoding::Compound, out));
}

TEST(SelectionRules, TextIsServedUpToItsNulAndAsLatin1ForString) {
    EXPECT_EQ(textOfBlock(Bytes{'h', 'i', 0, 'x', 'x'}), "hi");  // slack after the NUL
    EXPECT_EQ(textOfBlock(Bytes{'n', 'o', 'n', 'u', 'l'}), "nonul");
    EXPECT_EQ(textOfBlock(Bytes{}), "");
    EXPECT_EQ(utf8ToLatin1("caf\xc3\xa9"), "caf\xe9");
    EXPECT_EQ(utf8ToLatin1("\xe2\x82\xac and \xf0\x9f\x98\x80"), "? and ?");
    EXPECT_EQ(utf8ToLatin1("caf\xe9"), "caf\xe9");  // not UTF-8: already single bytes
    EXPECT_EQ(latin1ToUtf8(utf8ToLatin1("Gr\xc3\xbc\xc3\x9f" "e")), "Gr\xc3\xbc\xc3\x9f" "e");
}

TEST(SelectionRules, ChunksFitTheServerAndCoverEveryByte) {
    // 16 MB requests (BIG-REQUESTS): capped at the chunk limit.
    EXPECT_EQ(chunkSize(4194303), kMaxChunk);
    // The core limit of 256 KB: room for the request header, a multiple of 4.
    const std::size_t core = chunkSize(65535);
    EXPECT_LE(core + 24, 65535u * 4);
    EXPECT_EQ(core % 4, 0u);
    EXPECT_GT(core, 200000u);
    EXPECT_GT(chunkSize(0), 0u);

    EXPECT_EQ(chunkCount(0, 1000), 0u);
    EXPECT_EQ(chunkCount(1000, 1000), 1u);
    EXPECT_EQ(chunkCount(1001, 1000), 2u);
    EXPECT_EQ(chunkCount(20u << 20, kMaxChunk), 20u);
}

}  // namespace
}  // namespace pellion::platform::x11
