#include "platform/CodePage.h"

#include <gtest/gtest.h>

using namespace kor::platform;

TEST(CodePage, ConvertsLyricsBothWays) {
    struct Row {
        unsigned codePage;
        std::string bytes;
        std::wstring text;
    };
    const Row rows[] = {
        // Shift-JIS with the extensions of code page 932: 81 60 reads as the full-width tilde and
        // the circled digit exists; the last byte is a half-width katakana.
        {932, "\x82\xB3\x82\xAD\x82\xE7\x81\x60\x87\x40\xB1", L"さくら\uFF5E①ｱ"},
        {936, "\xB8\xE8\xC9\xF9", L"歌声"},
        {949, "\xB0\xA1", L"가"},
        {950, "\xA4\xA4", L"中"},
        {1252, "\x80\xE9", L"€é"},
        {65001, "\xE6\xAD\x8C", L"歌"},
        {kCodePageThreadAnsi, "\xE6\xAD\x8C", L"歌"}, // the tests run in the C locale
        {932, "", L""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(multiByteToWide(row.bytes, row.codePage), row.text)
            << "code page " << row.codePage;
        EXPECT_EQ(wideToMultiByte(row.text, row.codePage), row.bytes)
            << "code page " << row.codePage;
    }
}

TEST(CodePage, RejectsInvalidTextAndUnknownCodePages) {
    EXPECT_EQ(multiByteToWide("\x82\xB3\x82", 932), std::nullopt)
        << "cut-off double-byte character";
    EXPECT_EQ(multiByteToWide("\x81", 1252), std::nullopt) << "byte with no character";
    EXPECT_EQ(wideToMultiByte(L"歌", 1252), std::nullopt) << "character with no byte form";
    for (unsigned unknown : {1u, 437u, 1249u, 1259u, 65000u})
        EXPECT_EQ(multiByteToWide("a", unknown), std::nullopt) << "code page " << unknown;
    EXPECT_EQ(wideToMultiByte(L"a", 1259), std::nullopt);
}
