#include "legacy/SmfImport.h"

#include "support/ListPath.h"
#include "support/SongObjects.h"
#include "builders/LegacyFileBuilder.h"
#include "builders/SmfBuilder.h"
#include "support/SungNotes.h"
#include "support/TempDir.h"

#include <korman/ErrorCodes.h>

#include <gtest/gtest.h>

#include <vector>

using kor::test::SmfBuilder;

namespace {

using kor::test::at;

using kor::test::SungNote;

class SmfImportTest : public ::testing::Test {
protected:
    std::vector<ZRSMFTrackImportDirective> survey(const SmfBuilder& smf, bool split = false) {
        dir_.write("song.mid", smf.bytes());
        std::vector<ZRSMFTrackImportDirective> directives;
        EXPECT_EQ(importer_.survey(dir_.wide("song.mid"), 65001, split, directives), 0u);
        return directives;
    }
    std::uint32_t import(const SmfBuilder& smf,
                         const std::vector<ZRSMFTrackImportDirective>& directives,
                         bool split = false, std::int32_t preMeasure = 1) {
        dir_.write("song.mid", smf.bytes());
        doc_.objects().clear();
        doc_.setRoot(nullptr);
        return importer_.importFile(dir_.wide("song.mid"), preMeasure, split, directives, doc_);
    }
    CZRSequence* sequence() const { return doc_.root()->sequence(); }
    CZRMusicalPart* part(std::uint32_t track) const {
        return &at<CZRMusicalPart>(at<CZRZRTrack>(sequence()->zrTrackList(), track).partList(), 0);
    }
    std::vector<SungNote> notes(std::uint32_t track) const {
        return kor::test::sungNotes(*part(track));
    }
    std::vector<std::pair<std::int32_t, std::int32_t>> controls(std::uint32_t track,
                                                                std::int32_t type) const {
        std::vector<std::pair<std::int32_t, std::int32_t>> out;
        for (IZRMutableKorObject* element : part(track)->controlList(type)->elements()) {
            const auto* control = kor::objCast<CZRMusicalControl>(element);
            out.emplace_back(control->values().posTick, control->values().value);
        }
        return out;
    }

    kor::test::TempDir dir_;
    ZRVVoiceLib defaultVoice_{0, 3, L"BCNFCY43LB2LZCD4", L"First", {}};
    kor::VVoiceTable voices_{{{0, 3}, defaultVoice_},
                             {{1, 0}, {1, 0, L"BNXFCY43LB2LZCD4", L"Second", {}}}};
    CxSmfImporter importer_{voices_, defaultVoice_};
    CZRKorDocument doc_;
};

} // namespace

TEST_F(SmfImportTest, SurveyOffersChannelsOfASingleTrackFileAndTracksOfOthers) {
    SmfBuilder single(0);
    single.addTrack()
        .meta(0, 0x03, "Band")
        .tempo(0, 500000)
        .timeSignature(0, 3, 2)
        .noteOn(0, 0, 60, 100)
        .noteOff(480, 0, 60)
        .noteOn(480, 9, 36, 90)
        .noteOn(960, 9, 36, 0);
    const auto channels = survey(single, true);
    ASSERT_EQ(channels.size(), 16u);
    for (const ZRSMFTrackImportDirective& directive : channels) {
        const int channel = directive.sourceIndex;
        EXPECT_EQ(directive.importSwitch, channel == 0 || channel == 9) << channel;
        EXPECT_EQ(directive.noteCount, channel == 0 || channel == 9 ? 1 : 0) << channel;
        EXPECT_EQ(directive.tempoCount, channel == 0 ? 1 : 0) << channel;
        EXPECT_EQ(directive.timeSigCount, channel == 0 ? 1 : 0) << channel;
        EXPECT_EQ(directive.name, L"Band");
        EXPECT_EQ(std::make_pair(directive.singerBS, directive.singerPC), std::make_pair(0, 3));
        EXPECT_EQ(directive.codePage, 65001);
    }
    // Not split, the same file offers its one track.
    ASSERT_EQ(survey(single).size(), 1u);

    SmfBuilder many(1);
    for (int i = 0; i < 40; ++i) {
        kor::test::SmfTrackWriter& track = many.addTrack();
        if (i == 1) track.meta(0, 0x04, "Flute").meta(0, 0x03, "Lead");
        if (i == 2) track.meta(0, 0x03, "").meta(0, 0x04, "Flute"); // the first name counts
        if (i == 3) track.meta(0, 0x03, std::string(40, 'x'));
        if (i == 4) track.meta(0, 0x03, "\xC3\xA9t\xC3\xA9");
        if (i > 0) track.noteOn(0, 0, 60, 100).noteOff(10, 0, 60);
    }
    const auto tracks = survey(many);
    ASSERT_EQ(tracks.size(), CxSmfImporter::kMaxSources);
    EXPECT_EQ(tracks[0].importSwitch, 0);
    EXPECT_EQ(tracks[0].name, L"Track1");
    EXPECT_EQ(tracks[1].name, L"Flute");
    EXPECT_EQ(tracks[2].name, L"Track3");
    EXPECT_EQ(tracks[3].name, std::wstring(32, L'x'));
    EXPECT_EQ(tracks[4].name, L"\u00e9t\u00e9");
    EXPECT_EQ(tracks[31].importSwitch, 1);
    EXPECT_EQ(tracks[31].sourceIndex, 31);
}

TEST_F(SmfImportTest, ImportKeepsEveryNoteWithLyricsAndControlsBehindThePreMeasures) {
    SmfBuilder smf(1, 96);
    smf.addTrack().tempo(0, 400000);
    smf.addTrack()
        .meta(0, 0x03, "Voice")
        .controller(0, 0, 101, 0)
        .controller(0, 0, 100, 0)
        .controller(0, 0, 6, 12)
        .controller(0, 0, 6, 30) // above 24: ignored
        .controller(0, 0, 11, 100)
        .meta(24, 0x05, "\\la") // karaoke marks of a paragraph and a line are dropped
        .noteOn(24, 0, 60, 80)
        .message(48, 0xE0, 0, 64) // centre
        .message(60, 0xE0, 0x7F, 0x7F)
        .noteOn(72, 0, 64, 90) // a chord: both notes stay
        .noteOn(72, 0, 62, 90)
        .meta(72, 0x05, "/li") // goes to the first note of the chord
        .noteOff(96, 0, 60)
        .noteOff(120, 0, 64)
        .meta(120, 0x05, "/") // a mark alone is no lyric
        .noteOn(120, 0, 65, 70)
        .noteOff(120, 0, 65) // lasts one tick
        .noteOn(144, 0, 67, 70)
        .noteOn(156, 0, 67, 70)      // the same key again ends the note before
        .controller(168, 0, 7, 100); // volume carries nothing a singer uses; the track ends here
    auto directives = survey(smf);
    ASSERT_EQ(directives.size(), 2u);
    directives[1].singerBS = 1;
    directives[1].singerPC = 0;
    ASSERT_EQ(import(smf, directives, false, 2), 0u) << importer_.message();
    EXPECT_EQ(importer_.fileFormat(), ZR_FILE_FORMAT_SMF1);

    ASSERT_EQ(sequence()->zrTrackList()->getCount(), 1u);
    EXPECT_EQ(at<CZRZRTrack>(sequence()->zrTrackList(), 0).getName(), L"Voice");
    EXPECT_EQ(sequence()->masterTrack()->getSeqName(), L"song");
    EXPECT_EQ(sequence()->masterTrack()->getPreMeasure(), 2);
    EXPECT_EQ(sequence()->vvoiceList()->getCount(), voices_.size());
    // Ticks at 480 per quarter: the part starts with the first note, two measures later.
    EXPECT_EQ(part(0)->getPosTick(), 120 + 3840);
    EXPECT_EQ(part(0)->getPlayTime(), 840 - 120);
    EXPECT_EQ(notes(0), (std::vector<SungNote>{{0, 360, 60, L"la"},
                                               {240, 240, 64, L"li"},
                                               {240, 480, 62, L"a"},
                                               {480, 1, 65, L"a"},
                                               {600, 60, 67, L"a"},
                                               {660, 60, 67, L"a"}}));
    const auto* singer = &at<CZRMusicalSinger>(part(0)->singerList(), 0);
    EXPECT_EQ(std::make_pair(singer->values().vBS, singer->values().vPC), std::make_pair(1, 0));
    // Values set before the first note stand at its start.
    EXPECT_EQ(controls(0, 5),
              (std::vector<std::pair<std::int32_t, std::int32_t>>{{120, 0}, {180, 8191}}));
    EXPECT_EQ(controls(0, 6), (std::vector<std::pair<std::int32_t, std::int32_t>>{{0, 12}}));
    EXPECT_EQ(controls(0, 0), (std::vector<std::pair<std::int32_t, std::int32_t>>{{0, 100}}));
    std::int32_t accent = 0;
    EXPECT_TRUE(
        at<CZRMusicalNote>(part(0)->noteList(), 0).noteStyle()->getValue(L"accent", accent));
}

TEST_F(SmfImportTest, ImportRefusesDirectivesThatDoNotFitTheFile) {
    SmfBuilder smf(1);
    smf.addTrack();
    smf.addTrack().noteOn(0, 0, 60, 100).noteOff(480, 0, 60);
    const auto offered = survey(smf);
    ASSERT_EQ(offered.size(), 2u);
    const auto changed = [&](auto change) {
        auto directives = offered;
        change(directives);
        return directives;
    };
    using Directives = std::vector<ZRSMFTrackImportDirective>;
    const struct {
        const char* what;
        Directives directives;
        std::int32_t preMeasure;
    } rows[] = {
        {"no pre-measure", offered, 0},
        {"too many pre-measures", offered, 9},
        {"nothing chosen", changed([](Directives& d) { d[1].importSwitch = 0; }), 1},
        {"source beyond the file", changed([](Directives& d) { d[0].sourceIndex = 2; }), 1},
        {"source chosen twice", changed([](Directives& d) { d.push_back(d[1]); }), 1},
        {"singer out of range", changed([](Directives& d) { d[1].singerPC = 128; }), 1},
        {"switch neither on nor off", changed([](Directives& d) { d[1].importSwitch = 2; }), 1},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(import(smf, row.directives, false, row.preMeasure), ZR_E_INVALID_PARAMETER)
            << row.what;
        EXPECT_EQ(doc_.objects().size(), 0u) << row.what;
    }
    EXPECT_EQ(importer_.importFile(dir_.wide("missing.mid"), 1, false, offered, doc_),
              ZR_E_FILE_NOT_FOUND);
    EXPECT_EQ(importer_.status(), 3);
    kor::test::LegacyFileBuilder legacy;
    legacy.singingTrack("[Common]\nVersion=KOR201\n");
    dir_.write("legacy.mid", legacy.bytes());
    EXPECT_EQ(kor::midiFileFormat(dir_.wide("legacy.mid")), ZR_FILE_FORMAT_LEGACY2);
    EXPECT_EQ(importer_.importFile(dir_.wide("legacy.mid"), 1, false, offered, doc_),
              ZR_E_INVALID_KOR_FILE);
    EXPECT_EQ(doc_.objects().size(), 0u);
}

TEST_F(SmfImportTest, SurveyCountsTheTextsItsCodePageCannotConvert) {
    SmfBuilder smf(1);
    smf.addTrack().tempo(0, 500000);
    smf.addTrack()
        .meta(0, 0x03, "\x83\x65\x83\x58\x83\x67") // a Shift-JIS name
        .meta(0, 0x04, "\x83\x74")                 // a later name the import does not take
        .meta(0, 0x05, "la")
        .noteOn(0, 0, 60, 100)
        .meta(480, 0x05, "\x82\xA0") // a Shift-JIS lyric
        .noteOn(480, 0, 62, 100)
        .meta(960, 0x05, "\xC3\xA9\xC3") // UTF-8 whose last character is cut off
        .noteOn(960, 0, 64, 100)
        .noteOff(1440, 0, 64);
    // A UTF-8 name the 32-byte cut splits inside a character loses nothing to the code page.
    std::string split = "x";
    for (int i = 0; i < 20; ++i)
        split += "\xC3\xA9";
    smf.addTrack().meta(0, 0x03, split).noteOn(0, 0, 60, 100).noteOff(480, 0, 60);
    dir_.write("song.mid", smf.bytes());

    const auto unconverted = [&](unsigned codePage) {
        std::vector<ZRSMFTrackImportDirective> directives;
        EXPECT_EQ(importer_.survey(dir_.wide("song.mid"), codePage, false, directives), 0u);
        std::vector<int> counts;
        for (const ZRSMFTrackImportDirective& directive : directives)
            counts.push_back(directive.unconvertedTextCount);
        return counts;
    };
    EXPECT_EQ(unconverted(65001), (std::vector<int>{0, 3, 0}));
    EXPECT_EQ(unconverted(932), (std::vector<int>{0, 0, 0}));
    // A code page the library does not know converts nothing but empty texts.
    EXPECT_EQ(unconverted(12345), (std::vector<int>{0, 4, 1}));
}
