#include "manager/ErrorTable.h"

#include <korman/ErrorCodes.h>

#include <gtest/gtest.h>

#include <string>

TEST(ErrorTable, FindsEveryRangeKeepsDuplicatedTextsAndHasNoTextOutside) {
    const std::pair<std::uint32_t, const wchar_t*> cases[] = {
        {ZR_S_OK, L"OK"},
        {ZR_E_NOT_ENOUGH_MEMORY, L"Not enough memory."},
        {0x83070302u, L"Invalid tempo position."},
        {0x83070C03u, L"Singe is null."},
        {0x83073609u, L"Target parts are overlapped(POR)."},
        {0x83073701u, L"Target parts are not on the same track."},
        // Texts listed twice stay reachable from both codes.
        {0x83073001u, L"Unknown error."},
        {0x83074001u, L"Unknown error."},
        {0x830700C2u, L"Invalid XML file."},
        {0x830700C3u, L"Invalid KOR4 file."},
        // Codes of this library's own, after the table hosts have always seen.
        {ZR_E_EDITOR_DETACHED, L"The song this editor edited was replaced."},
        {ZR_E_EDITOR_COMMITTED, L"This editor has committed already."},
        {0x830A1000u, L""},
        {0x830A1002u, L""},
        {0x83078302u, L""},
        {0x83070010u, L""},
        {1u, L""},
    };
    for (const auto& [code, text] : cases)
        EXPECT_STREQ(kor::errorMessage(code), text) << std::hex << code;
    for (std::uint32_t offset = 4; offset <= 8; ++offset)
        EXPECT_EQ(std::wstring(kor::errorMessage(0x83070000u + offset)),
                  std::wstring(kor::errorMessage(0x830700A0u + offset)));
}
