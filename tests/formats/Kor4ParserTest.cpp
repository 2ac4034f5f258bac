#include "formats/kor4/Kor4Parser.h"

#include "formats/kor3/Kor3Parser.h"
#include "model/MusicalPart.h"
#include "model/Sequence.h"
#include "model/StyleControl.h"
#include "model/VVoice.h"
#include "model/WAVTrack.h"
#include "model/ZRTrack.h"
#include "support/SongFiles.h"
#include "support/TempDir.h"

#include <korman/ErrorCodes.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

using kor::test::dumpWithoutIDs;
using kor::test::loadSong;
using kor::test::testDataPath;

const auto& keys = kor::test::sortKeys;

using Keys = std::vector<std::int32_t>;

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

/// `text` with the first `what` taken out and put back in front of the first `before`.
std::string moved(std::string text, const std::string& what, const std::string& before) {
    const std::size_t from = text.find(what);
    EXPECT_NE(from, std::string::npos) << what;
    if (from == std::string::npos) return text;
    text.erase(from, what.size());
    const std::size_t to = text.find(before);
    EXPECT_NE(to, std::string::npos) << before;
    if (to != std::string::npos) text.insert(to, what);
    return text;
}

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
    const auto* part = kor::objCast<CZRMusicalPart>(
        kor::objCast<CZRZRTrack>(seq.zrTrackList()->elementAt(0))->partList()->elementAt(0));
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(keys(part->controlList(0)), (Keys{0, 480}));
    EXPECT_EQ(keys(part->controlList(6)), (Keys{0}));
    for (std::int32_t kind = 1; kind < 6; ++kind)
        EXPECT_EQ(part->controlList(kind)->getCount(), 0u);
    ASSERT_EQ(part->styleControlLists().size(), 1u);
    const CZRNodeList* portamento = kor::findMapList(part->styleControlLists(), L"POR");
    EXPECT_EQ(keys(portamento), (Keys{0, 240}));
    EXPECT_EQ(kor::objCast<CZRStyleControl>(portamento->elementAt(1))->getVal(), 30);

    EXPECT_EQ(keys(seq.seTrack()->wavPartList()), (Keys{0, 1920}));
}

// Other writers put the elements the reader does not use (id2, vPrm2, the vol of vPrm, plane)
// elsewhere, and order freely the children of what is built once all of it is read.
TEST(Kor4Parser, LoadsUnusedElementsAndFreelyOrderedChildrenAnywhere) {
    const std::string kor4 = readText(testDataPath("kor4/song.korx"));
    const std::string kor3 = readText(testDataPath("kor4/song-kor3.korx"));
    const auto twin = loadSong<Kor3::CZRKor3Parser>(testDataPath("kor4/song-kor3.korx"));
    const std::string id2 = "<id2><![CDATA[XXXXXXXXXXXXXXXX]]></id2>";
    const std::string plane = "<plane>1</plane>";
    const struct {
        const char* what;
        bool isKor3;
        std::string text;
    } cases[] = {
        {"id2 after vPrm2", false, moved(kor4, id2, "</vVoice>")},
        {"id2 first, name after vPrm2", false,
         moved(moved(kor4, id2, "<bs>"), "<name><![CDATA[Second Voice]]></name>", "</vVoice>")},
        {"vol first in vPrm", false, moved(kor4, "<vol>99</vol>", "<bre>")},
        {"plane before the part's position", false, moved(kor4, plane, "<t>1920</t>")},
        {"plane between name and comment", false,
         moved(kor4, plane, "<comment><![CDATA[first verse]]>")},
        {"time signature, tempo and style plug-in reversed", false,
         moved(moved(moved(kor4, "<m>4</m>", "</timeSig>"), "<t>3840</t>", "</tempo>"),
               "<id><![CDATA[ACA9C502-A04B-42b5-B2EB-5CEA36D16FCE]]></id>", "</sPlug>")},
        {"KOR3 voice, plug-in and tempo reordered", true,
         moved(moved(moved(moved(kor3, "<vBS>1</vBS>", "</vVoice>"), "<bre>1</bre>",
                           "</vVoiceParam>"),
                     "<vstPluginID><![CDATA[MASTER-INSERT]]></vstPluginID>", "</vstPlugin>"),
               "<posTick>0</posTick>", "</tempo>")},
    };
    kor::test::TempDir dir;
    for (const auto& c : cases) {
        dir.write("song.korx", c.text);
        const std::wstring widePath = dir.wide("song.korx");
        const std::string path(widePath.begin(), widePath.end());
        const auto doc =
            c.isKor3 ? loadSong<Kor3::CZRKor3Parser>(path) : loadSong<Kor4::CZRKor4Parser>(path);
        EXPECT_EQ(dumpWithoutIDs(*doc->root()), dumpWithoutIDs(*twin->root())) << c.what;
    }
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
