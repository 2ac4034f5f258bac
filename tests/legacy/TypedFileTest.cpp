#include "legacy/TypedFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Keys = std::vector<std::wstring>;

TEST(TypedFile, ReopenedSectionsGrowAndDuplicateKeysKeepTheirPlace) {
    CxTypedFile file;
    ASSERT_TRUE(file.parseText("[Mixer]\nTracks=1\nFeder0=0\n"
                               "[EventList]\n0=ID#0000\n"
                               "[Mixer]\nFeder0=-20\nSolo0=1\n",
                               false));
    EXPECT_EQ(file.sectionNames(), (Keys{L"Mixer", L"EventList"}));
    EXPECT_EQ(file.keys(L"Mixer"), (Keys{L"Tracks", L"Feder0", L"Solo0"}));
    EXPECT_EQ(file.value(L"Mixer", L"Feder0"), L"-20");
    EXPECT_EQ(file.value(L"EventList", L"0"), L"ID#0000");
    EXPECT_EQ(file.value(L"Mixer", L"Missing"), L"");
    EXPECT_EQ(file.value(L"Missing", L"Tracks"), L"");
    EXPECT_TRUE(file.keys(L"Missing").empty());
    EXPECT_EQ(file.section(L"mixer"), nullptr); // names are case-sensitive
}

TEST(TypedFile, CommentsAreRecognisedOnlyWhenAllowedAndAlwaysInFiles) {
    const std::string text = "[S]\nkey = value ; note\n;hidden=1\n";
    CxTypedFile withComments, embedded;
    ASSERT_TRUE(withComments.parseText(text, true) && embedded.parseText(text, false));
    EXPECT_EQ(withComments.value(L"S", L"key"), L"value");
    EXPECT_EQ(withComments.keys(L"S"), (Keys{L"key"}));
    EXPECT_EQ(embedded.value(L"S", L"key"), L"value ; note");
    EXPECT_EQ(embedded.value(L"S", L";hidden"), L"1");

    // Files are read with comments recognised.
    kor::test::TempDir folder;
    folder.write("voice.ini", "; header\n[Common]\nCaption=Normal ; shown\n");
    const std::wstring path = folder.wide("voice.ini");
    CxTypedFile file;
    ASSERT_TRUE(file.parseFile(path));
    EXPECT_EQ(file.path(), path);
    EXPECT_EQ(file.value(L"Common", L"Caption"), L"Normal");
    EXPECT_FALSE(file.parseFile(folder.wide("missing.ini")));
    EXPECT_TRUE(file.sectionNames().empty());
    EXPECT_FALSE(file.parseFile(folder.wide()));
}

TEST(TypedFile, ReadsLinesLooselyAndDropsWhatIsNotAnEntry) {
    CxTypedFile file;
    ASSERT_TRUE(file.parseText("orphan=1\r\n\r\n\t  [A] trailing\r\n"
                               "  spaced key \t=  spaced value  \r\n"
                               "no equals here\r\n=nokey\r\na==b\r\n[unclosed=2\r\n"
                               "[]\r\nx=y",
                               false));
    EXPECT_EQ(file.sectionNames(), (Keys{L"A", L""}));
    EXPECT_EQ(file.keys(L"A"), (Keys{L"spaced key", L"a", L"[unclosed"}));
    EXPECT_EQ(file.value(L"A", L"spaced key"), L"spaced value");
    EXPECT_EQ(file.value(L"A", L"a"), L"=b");
    EXPECT_EQ(file.value(L"", L"x"), L"y");

    // Parsing again starts from nothing.
    ASSERT_TRUE(file.parseText("[B]\nk=v\n", false));
    EXPECT_EQ(file.sectionNames(), (Keys{L"B"}));
}

TEST(TypedFile, ConvertsWithTheDocumentsCodePage) {
    // "あ" and "歌" in Shift-JIS; 0x5C as a trail byte must not be read as a backslash.
    const std::string text = "[Lyric]\nL0=\x82\xA0,\x89\xCC,\x83\x5C\n";
    CxTypedFile shiftJis, utf8;
    shiftJis.setCodePage(932);
    utf8.setCodePage(65001);
    ASSERT_TRUE(shiftJis.parseText(text, false) && utf8.parseText(text, false));
    EXPECT_EQ(shiftJis.value(L"Lyric", L"L0"), L"\u3042,\u6B4C,\u30BD");
    // Bytes the code page cannot convert still leave the keys readable.
    EXPECT_EQ(utf8.value(L"Lyric", L"L0").size(), 8u);
}
