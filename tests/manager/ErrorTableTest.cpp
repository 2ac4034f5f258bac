#include "manager/ErrorTable.h"

#include <korman/ErrorCodes.h>

#include <gtest/gtest.h>

#include <string>

TEST(ErrorTable, FindsTheMessageOfEveryRange) {
    EXPECT_STREQ(kor::errorMessage(ZR_S_OK), L"OK");
    EXPECT_STREQ(kor::errorMessage(ZR_E_NOT_ENOUGH_MEMORY), L"Not enough memory.");
    EXPECT_STREQ(kor::errorMessage(0x83070302u), L"Invalid tempo position.");
    EXPECT_STREQ(kor::errorMessage(0x83070C03u), L"Singe is null.");
    EXPECT_STREQ(kor::errorMessage(0x83073609u), L"Target parts are overlapped(POR).");
    EXPECT_STREQ(kor::errorMessage(0x83073701u), L"Target parts are not on the same track.");
}

TEST(ErrorTable, DuplicatedTextsStayReachableFromBothCodes) {
    EXPECT_STREQ(kor::errorMessage(0x83073001u), L"Unknown error.");
    EXPECT_STREQ(kor::errorMessage(0x83074001u), L"Unknown error.");
    for (std::uint32_t offset = 4; offset <= 8; ++offset)
        EXPECT_EQ(std::wstring(kor::errorMessage(0x83070000u + offset)),
                  std::wstring(kor::errorMessage(0x830700A0u + offset)));
    EXPECT_STREQ(kor::errorMessage(0x830700C2u), L"Invalid XML file.");
    EXPECT_STREQ(kor::errorMessage(0x830700C3u), L"Invalid KOR4 file.");
}

TEST(ErrorTable, CodesOutsideTheTableHaveNoText) {
    for (std::uint32_t code : {0x830A1000u, 0x830A1002u, 0x83078302u, 0x83070010u, 1u})
        EXPECT_STREQ(kor::errorMessage(code), L"") << std::hex << code;
}
