// Reading song files in tests, and comparing the songs read.
#pragma once

#include "model/KorDocument.h"
#include "model/KorRoot.h"
#include "model/NodeList.h"
#include "support/SavedDump.h"

#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <string>
#include <vector>

namespace kor::test {

/// The path of the test data file `name` ("kor3/full.korx").
inline std::string testDataPath(const std::string& name) {
    return std::string(KORMAN_TEST_DATA_DIR) + "/" + name;
}

/// A document read from `path` by a format parser of class `Parser`, as the manager reads one.
/// The load is expected to succeed.
template <class Parser> std::unique_ptr<CZRKorDocument> loadSong(const std::string& path) {
    auto doc = std::make_unique<CZRKorDocument>();
    doc->setRoot(kor::createObject<CZRKorRoot>(doc->context(), ZR_NO_OBJ_ID));
    Parser parser;
    EXPECT_TRUE(parser.initParser(std::wstring(std::string_view(KORMAN_SCHEMA_DIR).begin(),
                                               std::string_view(KORMAN_SCHEMA_DIR).end())));
    const std::wstring widePath(path.begin(), path.end());
    const std::uint32_t code = parser.parseFile(doc.get(), widePath.c_str());
    const std::wstring& message = parser.lastMessage();
    EXPECT_EQ(code, 0u) << path << ": " << std::string(message.begin(), message.end());
    return doc;
}

/// The sort keys of the elements of `list` (null: none), in list order.
inline std::vector<std::int32_t> sortKeys(const CZRNodeList* list) {
    std::vector<std::int32_t> out;
    if (list != nullptr)
        for (const IZRMutableKorObject* element : list->elements())
            out.push_back(element->getSortKey());
    return out;
}

/// The recursive dump of `root` with every object ID blanked, so that songs built apart compare
/// equal when they hold the same objects.
inline std::string dumpWithoutIDs(const CZRKorRoot& root) {
    std::wstring dump;
    root.dump(dump, 1);
    static const std::wregex ids(L"(objID|parentObjID)=[0-9A-Za-z]+");
    const std::wstring blanked = std::regex_replace(dump, ids, L"$1=#");
    std::string out;
    for (const wchar_t c : blanked)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

} // namespace kor::test
