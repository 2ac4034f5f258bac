#include "manager/FileMessages.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <iterator>

using kor::printableMessage;

TEST(FileMessages, WritesWhatWouldCutAHostsPrintingAsEscapes) {
    kor::test::TempDir dir;
    // Decodable bytes first (an e acute), then a three-byte sequence broken by its second byte.
    dir.write("song.korx", "<kor3>caf\xC3\xA9 \xE0\xC3(</kor3>");
    const std::wstring path = dir.wide("song.korx");

    // The parser's U+FFFD stands for the broken sequence's bytes, in order; one too many stays
    // readable as an escape of its own.
    EXPECT_EQ(printableMessage(L"invalid bytes '\uFFFD' and '\uFFFD' \uFFFD", path),
              L"invalid bytes '\\xE0' and '\\xC3' \\uFFFD");
    constexpr wchar_t kControls[] = L"bell\a nul\0 next\x85 half\xD800 beyond\x110000";
    EXPECT_EQ(printableMessage(std::wstring(kControls, std::size(kControls) - 1), path),
              L"bell\\x07 nul\\x00 next\\u0085 half\\uD800 beyond\\U00110000");
    // Tabs, line breaks and any real character pass as they are.
    const std::wstring plain = L"Fatal Error at file \"caf\u00E9.korx\", line 1:\n\t- \u266A";
    EXPECT_EQ(printableMessage(plain, path), plain);
    EXPECT_EQ(printableMessage(L"\uFFFD", dir.wide("missing.korx")), L"\\uFFFD");
}
