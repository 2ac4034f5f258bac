#include "platform/XmlChars.h"

#include <gtest/gtest.h>

#include <string>

using kor::platform::storedText;

TEST(XmlChars, StoredTextIsWhatASongFileGivesBack) {
    const std::wstring fffd(1, kor::platform::kReplacementChar);
    const struct {
        std::wstring given;
        std::wstring stored;
    } cases[] = {
        {L"plain", L"plain"},
        {L" \t\r\n padded \r\n", L"padded"},
        {L"a\r\nb\rc\nd", L"a\nb\nc\nd"},
        {std::wstring(L"a\0b\x1\x1F\xFFFE\xFFFF", 7),
         L"a" + fffd + L"b" + fffd + fffd + fffd + fffd},
        {std::wstring(1, wchar_t(0xD800)) + L"x" + std::wstring(1, wchar_t(0x110000)),
         fffd + L"x" + fffd},
        {L"\x7F\xE000\xFFFD\x10FFFF kept", L"\x7F\xE000\xFFFD\x10FFFF kept"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(storedText(c.given), c.stored);
        EXPECT_EQ(storedText(c.stored), c.stored) << "stored text stays as it is";
    }
}
