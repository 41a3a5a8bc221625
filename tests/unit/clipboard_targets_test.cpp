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
    // STRING is predefined, but text; core types carry server resource ids,
    // and 1 and 7 would pose as text.
    const std::tuple<const char*, std::uint32_t, TargetKind> cases[] = {
        {"STRING", 31, TargetKind::Text},       {"UTF8_STRING", 400, TargetKind::Text},
        {"TEXT", 400, TargetKind::Text},        {"COMPOUND_TEXT", 400, TargetKind::Text},
        {"text/plain", 400, TargetKind::Text},  {"text/plain;charset=utf-8", 400, TargetKind::Text},
        {"PIXMAP", 20, TargetKind::Skip},       {"PRIMARY", 1, TargetKind::Skip},
        {"COLORMAP", 7, TargetKind::Skip},      {"", 500, TargetKind::Skip},
        {"text/html", 69, TargetKind::Named},   {"text/plain;charset=latin1", 300, TargetKind::Named},
        {"PellionClips", 301, TargetKind::Named}};
    for (const auto& [name, id, kind] : cases) EXPECT_EQ(classifyTarget(name, id), kind) << name;

    EXPECT_LT(textRank("UTF8_STRING"), textRank("text/plain;charset=utf-8"));
    EXPECT_LT(textRank("text/plain"), textRank("STRING"));
    EXPECT_LT(textRank("STRING"), textRank("COMPOUND_TEXT"));
    EXPECT_EQ(textRank("text/html"), -1);

    for (std::uint32_t id : {1, 7, 69}) EXPECT_TRUE(isServableId(id)) << id;
    for (std::uint32_t id : {0, 2, 68}) EXPECT_FALSE(isServableId(id)) << id;
}

TEST(SelectionRules, Utf8IsValidatedStrictly) {
    for (const char* good : {"", "plain", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80"}) EXPECT_TRUE(isValidUtf8(good)) << good;
    // Latin-1, cut short twice, overlong, a surrogate, beyond U+10FFFF, a bad continuation.
    for (const char* bad : {"caf\xe9", "\xc3", "\xe2\x82", "\xc0\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80", "\xe2\x28\xa1"})
        EXPECT_FALSE(isValidUtf8(bad)) << bad;
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
