#include "legacy/LegacyText.h"

#include "legacy/MidiSequence.h"
#include "legacy/TextValues.h"
#include "legacy/TypedFile.h"
#include "builders/LegacyFileBuilder.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

using kor::test::LegacyFileBuilder;
using kor::test::parseSmf;
using kor::test::SmfBuilder;

namespace {

const std::string kSong = "[Common]\r\nVersion=KOR301\r\nName=Voice1\r\n"
                          "[Mixer]\r\nMasterFeder=0\r\nTracks=1\r\n"
                          "[EventList]\r\n0=Event0\r\n$000001E0=Event1\r\n"
                          "[Mixer]\r\nFeder0=-20\r\n"
                          "[Event1]\r\nType=Anote\r\nLength=$1G\r\n";

struct Collected {
    bool ok = false;
    bool hadText = false;
    CxTypedFile file;
};

void collect(const std::string& bytes, std::size_t track, Collected& out) {
    auto sequence = parseSmf(bytes).sequence;
    ASSERT_NE(sequence, nullptr);
    out.ok = kor::collectTrackText(*sequence, track, out.file, out.hadText);
}

} // namespace

TEST(LegacyText, JoinsPiecesInNumberOrderWhateverTheirPlace) {
    std::vector<std::size_t> backwards(LegacyFileBuilder::pieces(kSong, 10).size());
    std::iota(backwards.rbegin(), backwards.rend(), std::size_t{0});
    for (const std::vector<std::size_t>& order : {std::vector<std::size_t>{}, backwards}) {
        LegacyFileBuilder legacy;
        legacy.conductor().tempo(0, 500000);
        legacy.singingTrack(kSong, 10, order);
        Collected got;
        collect(legacy.bytes(), 1, got);
        ASSERT_TRUE(got.ok && got.hadText);
        EXPECT_EQ(got.file.status(), 0);
        EXPECT_EQ(got.file.value(L"Common", L"Name"), L"Voice1");
        // A second [Mixer] header adds to the first.
        EXPECT_EQ(got.file.keys(L"Mixer"),
                  (std::vector<std::wstring>{L"MasterFeder", L"Tracks", L"Feder0"}));
        EXPECT_EQ(got.file.keys(L"EventList"), (std::vector<std::wstring>{L"0", L"$000001E0"}));
        EXPECT_EQ(kor::readNumber(got.file.value(L"Event1", L"Length")), 0x1000F);
        EXPECT_EQ(kor::readNumber(got.file.keys(L"EventList")[1]), 480);
    }
}

TEST(LegacyText, DuplicateMissingOrUnnumberedPiecesMarkTheTextCorrupt) {
    const std::string text = "[Common]\nName=abcdefghijklmnopqrstuvwxyz\n"; // four pieces of 12
    struct Case {
        const char* what;
        std::vector<std::size_t> order;
    };
    for (const Case& c : {Case{"duplicate", {0, 1, 1, 3}}, Case{"gap", {0, 1, 3}}}) {
        LegacyFileBuilder legacy;
        legacy.singingTrack(text, 12, c.order);
        Collected got;
        got.file.setStatus(0x10);
        collect(legacy.bytes(), 1, got);
        EXPECT_FALSE(got.ok) << c.what;
        EXPECT_EQ(got.file.status(), 0x10 | kor::kLegacyTextCorrupt) << c.what;
        EXPECT_TRUE(got.file.sectionNames().empty()) << c.what;
    }

    // The colon after the number must come within the first 128 characters.
    for (std::size_t digits : {124u, 125u}) {
        SmfBuilder smf;
        smf.addTrack().text(0, "DM:" + std::string(digits, '0') + ":[A]\nk=v\n");
        Collected got;
        collect(smf.bytes(), 0, got);
        EXPECT_EQ(got.ok, digits == 124) << digits;
        EXPECT_EQ(got.file.status(), digits == 124 ? 0 : kor::kLegacyTextCorrupt) << digits;
    }
}

TEST(LegacyText, RecognisesLegacyFilesByFormatAndTracks) {
    // Tracks by letter: L holds a piece after a note, P plain text only, B malformed, E empty.
    struct Case {
        unsigned format;
        const char* tracks;
        int answer;
    };
    const Case cases[] = {
        {0, "L", 1},    {0, "", 0},     {1, "", 1},
        {1, "P", 0},    {1, "BLL", 1}, // the conductor track is not examined
        {1, "ELPB", 0}, {1, "EBP", -1},
    };
    for (const Case& c : cases) {
        SmfBuilder smf(c.format);
        for (const char* kind = c.tracks; *kind; ++kind) {
            kor::test::SmfTrackWriter& track = smf.addTrack();
            if (*kind == 'L')
                track.noteOn(0, 0, 60, 1).text(10, "DM:0000:[Common]");
            else if (*kind == 'P')
                track.text(0, "plain words");
            else if (*kind == 'B')
                track.withoutEnd().raw(std::string("\x00\xF4\x00\x00", 4));
        }
        const std::string bytes = smf.bytes();
        auto sequence = parseSmf(bytes).sequence;
        ASSERT_NE(sequence, nullptr);
        EXPECT_EQ(kor::hasLegacyText(*sequence), c.answer) << c.format << " " << c.tracks;
    }
}
