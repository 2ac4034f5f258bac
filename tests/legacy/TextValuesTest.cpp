#include "legacy/TextValues.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<std::wstring> splitAll(std::wstring_view text, std::size_t capacity) {
    std::vector<std::wstring> tokens;
    for (std::wstring token = kor::nextToken(text, L',', capacity); !token.empty();
         token = kor::nextToken(text, L',', capacity))
        tokens.push_back(token);
    return tokens;
}

} // namespace

TEST(TextValues, SplitsTokensTrimmedAndCutToCapacity) {
    EXPECT_EQ(splitAll(L"  12 ,\t3,4  ", 16), (std::vector<std::wstring>{L"12", L"3", L"4"}));
    // A cut token drops its tail up to the separator; the next token starts after it.
    EXPECT_EQ(splitAll(L"abcdefg,hi", 4), (std::vector<std::wstring>{L"abc", L"hi"}));
    // Trailing blanks are removed after the cut.
    EXPECT_EQ(splitAll(L"ab  cd,x", 4), (std::vector<std::wstring>{L"ab", L"x"}));
    // An empty token ends the list even when more follows.
    EXPECT_EQ(splitAll(L"1,,2", 16), (std::vector<std::wstring>{L"1"}));

    std::wstring_view rest = L"only";
    EXPECT_EQ(kor::nextToken(rest, L',', 16), L"only");
    EXPECT_TRUE(rest.empty());
}

TEST(TextValues, ReadsHexadecimalAfterDollarAndDecimalOtherwise) {
    const std::pair<const wchar_t*, int> rows[] = {
        {L"$0000000A", 10},
        {L"$1G", 0x1000F},
        {L"$ff", 255},
        {L"$FFFFFFFF", -1},
        {L"$123456789", 0x12345678}, // a ninth digit is not read
        {L"$", 0},
        {L"", 0},
        {L"480", 480},
        {L" -12abc", -12},
        {L"x1", 0},
        {L"1$2", 1},
    };
    for (const auto& [text, value] : rows)
        EXPECT_EQ(kor::readNumber(text), value) << testing::PrintToString(text);
}
