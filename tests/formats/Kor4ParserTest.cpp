#include "formats/kor4/Kor4Parser.h"

#include "formats/kor3/Kor3Parser.h"
#include "support/ListPath.h"
#include "support/SongObjects.h"
#include "support/SongFiles.h"
#include "support/TempDir.h"

#include <korman/ErrorCodes.h>

#include <gtest/gtest.h>

#include <fstream>

namespace {

using kor::test::dumpWithoutIDs;
using kor::test::loadSong;
using kor::test::testDataPath;

const auto& keys = kor::test::sortKeys;

using Keys = std::vector<std::int32_t>;

} // namespace

TEST(Kor4Parser, LoadsTheSameSongAsItsKor3Twin) {
    const auto kor4 = loadSong<Kor4::CZRKor4Parser>(testDataPath("kor4/song.korx"));
    const auto kor3 = loadSong<Kor3::CZRKor3Parser>(testDataPath("kor4/song-kor3.korx"));
    // Extra elements (id2, plane, vPrm2 and the vol of vPrm) leave no trace.
    EXPECT_EQ(dumpWithoutIDs(*kor4->root()), dumpWithoutIDs(*kor3->root()));

    const CZRSequence& seq = *kor4->root()->sequence();
    const auto* voice = kor::objCast<CZRVVoice>(seq.vvoiceList()->findByKey(65536 + 5));
    ASSERT_NE(voice, nullptr);
    const ZRVVoiceParam& param = voice->getParam();
    EXPECT_EQ((std::vector<int>{param.breathiness, param.brightness, param.clearness,
                                param.genderFactor, param.opening}),
              (std::vector<int>{1, 2, 3, 4, 5}));

    // "D" and "S" controls land in their lists, "X" nowhere, both "T" in one "POR" list.
    const auto* part = &kor::test::at<CZRMusicalPart>(
        kor::test::at<CZRZRTrack>(seq.zrTrackList(), 0).partList(), 0);
    EXPECT_EQ(keys(part->controlList(0)), (Keys{0, 480}));
    EXPECT_EQ(keys(part->controlList(6)), (Keys{0}));
    for (std::int32_t kind = 1; kind < 6; ++kind)
        EXPECT_EQ(part->controlList(kind)->getCount(), 0u);
    ASSERT_EQ(part->styleControlLists().size(), 1u);
    const CZRNodeList* portamento = kor::findMapList(part->styleControlLists(), L"POR");
    EXPECT_EQ(keys(portamento), (Keys{0, 240}));
    EXPECT_EQ(kor::test::at<CZRStyleControl>(portamento, 1).getVal(), 30);

    EXPECT_EQ(keys(seq.seTrack()->wavPartList()), (Keys{0, 1920}));
}

TEST(Kor4Parser, RejectsDocumentsOutsideTheFormat) {
    const std::string head = R"(<?xml version="1.0" encoding="UTF-8"?>)";
    const struct {
        const char* what;
        std::string text;
        std::uint32_t code;
    } cases[] = {
        {"not well-formed", head + "<kor4 xmlns=\"http://korman.example/torivel/schema/kor4/\">",
         ZR_E_INVALID_KOR4_FILE},
        {"a KOR3 document",
         head + "<kor3 xmlns=\"http://korman.example/torivel/schema/kor3/\"></kor3>",
         ZR_E_INVALID_KOR4_FILE},
        {"a KOR3 element", head + R"(<kor4 xmlns="http://korman.example/torivel/schema/kor4/">
            <vender>v</vender><version>3.0.0.11</version><vVoiceTable/><seTrack/></kor4>)",
         ZR_E_INVALID_KOR4_FILE},
    };
    kor::test::TempDir dir;
    for (const auto& c : cases) {
        dir.write("song.korx", c.text);
        CZRKorDocument doc;
        doc.setRoot(kor::createObject<CZRKorRoot>(doc.context(), ZR_NO_OBJ_ID));
        Kor4::CZRKor4Parser parser;
        ASSERT_TRUE(parser.initParser(std::wstring(std::string_view(KORMAN_SCHEMA_DIR).begin(),
                                                   std::string_view(KORMAN_SCHEMA_DIR).end())));
        EXPECT_EQ(parser.parseFile(&doc, dir.wide("song.korx").c_str()), c.code) << c.what;
    }
}
