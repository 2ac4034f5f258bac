#include "formats/xml/XmlText.h"

#include <gtest/gtest.h>

TEST(XmlText, ConvertsUtf16WithSurrogatesBothWays) {
    const char16_t units[] = {u'a', 0xD834, 0xDD1E, u'b', 0xDC00, u'c', 0xD800};
    EXPECT_EQ(kor::fromUtf16(units, 7), std::wstring(L"a\U0001D11Eb\uFFFDc\uFFFD"));
    EXPECT_EQ(kor::toUtf16(L"a\U0001D11E\u00E9"), std::u16string(u"a\U0001D11E\u00E9"));
    EXPECT_EQ(kor::fromUtf16(kor::toUtf16(L"\u6B4C\U00020B9F").c_str()), L"\u6B4C\U00020B9F");
    EXPECT_EQ(kor::fromUtf16(nullptr), L"");
}

TEST(XmlText, CleansCharacterDataOfValues) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L" \r\n\tTwo  words \n ", L"Two  words"},
        {L"a]]&gt;b]]&gt;", L"a]]>b]]>"},
        {L"]]&gt;gt;", L"]]>gt;"},
        {L" \n ", L""},
    };
    for (auto [text, expected] : cases) {
        kor::cleanCharacterData(text);
        EXPECT_EQ(text, expected);
    }
}

TEST(XmlText, EscapesPercentBeforeBlank) {
    EXPECT_EQ(kor::escapeFolderForUri(L"/a b%c/d%20e"), L"/a%20b%25c/d%2520e");
}
