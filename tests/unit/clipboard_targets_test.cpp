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
}

TEST(SelectionRules, Utf8IsValidatedStrictly) {
    for (const char* good : {"", "plain", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80"}) EXPECT_TRUE(isValidUtf8(good)) << good;
    // Latin-1, cut short twice, overlong, a surrogate, beyond U+10FFFF, a bad continuation.
    for (const char* bad : {"caf\xe9", "\xc3", "\xe2\x82", "\xc0\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80", "\xe2\x28\xa1"})
        EXPECT_FALSE(isValidUtf8(bad)) << bad;
}

// Format 1 from the pieces of a reply cut at the given places; a guess
// that meets bytes that are not UTF-8 reads them again as Latin-1.
std::optional<std::string> foldPieces(std::string_view in, TextEncoding enc, const std::vector<std::size_t>& cuts) {
    std::string out;
    const TextFold::Out collect = [&out](const std::uint8_t* p, std::size_t n) {
        out.append(reinterpret_cast<const char*>(p), n);
        return true;
    };
    TextFold fold(enc);
    TextFold::Result r = TextFold::Result::Ok;
    std::size_t from = 0;
    for (std::size_t cut : cuts) {
        if (r == TextFold::Result::Ok)
            r = fold.piece(reinterpret_cast<const std::uint8_t*>(in.data()) + from, cut - from, collect);
        from = cut;
    }
    if (r == TextFold::Result::Ok) r = fold.finish(collect);
    if (r == TextFold::Result::NotUtf8 && enc == TextEncoding::Guess) return foldPieces(in, TextEncoding::Latin1, cuts);
    if (r != TextFold::Result::Ok) return std::nullopt;
    return out;
}

// Whole or in pieces cut anywhere (inside a character too), text arrives as
// UTF-8 followed by one NUL.
TEST(SelectionRules, TextFoldsIntoUtf8WithOneNul) {
    using enum TextEncoding;
    using namespace std::string_view_literals;
    struct Case {
        std::string_view in;
        TextEncoding enc;
        std::optional<std::string_view> out;  // without the NUL
    };
    const Case cases[] = {
        {"caf\xc3\xa9", Utf8, "caf\xc3\xa9"},
        {"caf\xe9", Latin1, "caf\xc3\xa9"},
        {"", Utf8, ""},
        {"a\0b"sv, Utf8, "a\0b"sv},  // bytes as sent, an inner NUL included
        // Compound text in its initial Latin-1 state reads; with escapes it does not.
        {"na\xefve", Compound, "na\xc3\xafve"},
        {"\x1b$)A\xc4\xe3", Compound, std::nullopt},
        {"\xe2\x82\xac \xf0\x9f\x98\x80 caf\xc3\xa9", Guess, "\xe2\x82\xac \xf0\x9f\x98\x80 caf\xc3\xa9"},
        {"caf\xe9 ok", Guess, "caf\xc3\xa9 ok"},
        {"ok \xe2\x82", Guess, "ok \xc3\xa2\xc2\x82"},  // ends inside a character
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.in)));
        std::optional<std::string> want;
        if (c.out) want = std::string(*c.out) + '\0';
        Bytes whole;
        EXPECT_EQ(foldText(c.in, c.enc, whole), want.has_value());
        EXPECT_EQ(std::string(whole.begin(), whole.end()), want.value_or(""));
        std::vector<std::size_t> bytewise;
        for (std::size_t i = 1; i <= c.in.size(); ++i) bytewise.push_back(i);
        EXPECT_EQ(foldPieces(c.in, c.enc, bytewise), want);
        for (std::size_t cut = 0; cut <= c.in.size(); ++cut)
            EXPECT_EQ(foldPieces(c.in, c.enc, {cut, c.in.size()}), want) << "cut at " << cut;
    }
}

TEST(SelectionRules, TextIsServedUpToItsNulAndAsLatin1ForString) {
    EXPECT_EQ(textOfBlock(Bytes{'h', 'i', 0, 'x', 'x'}), "hi");  // slack after the NUL
    EXPECT_EQ(textOfBlock(Bytes{'n', 'o', 'n', 'u', 'l'}), "nonul");
    EXPECT_EQ(textOfBlock(Bytes{}), "");
    // Characters beyond Latin-1 as STRING are the serving test's.
    EXPECT_EQ(utf8ToLatin1("caf\xe9"), "caf\xe9");  // not UTF-8: already single bytes
}

TEST(SelectionRules, ChunksFitTheServer) {
    // 16 MB requests (BIG-REQUESTS): capped at the chunk limit.
    EXPECT_EQ(chunkSize(4194303), kMaxChunk);
    // The core limit of 256 KB: room for the request header, a multiple of 4.
    const std::size_t core = chunkSize(65535);
    EXPECT_LE(core + 24, 65535u * 4);
    EXPECT_EQ(core % 4, 0u);
    EXPECT_GT(core, 200000u);
    EXPECT_GT(chunkSize(0), 0u);
}

}  // namespace
}  // namespace pellion::platform::x11
