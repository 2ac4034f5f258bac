#include "legacy/MidiSequence.h"

#include "legacy/GlobalBuffer.h"
#include "builders/SmfBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using kor::test::parseSmf;
using kor::test::SmfBuilder;

namespace {

std::string twoTrackSong(std::uint32_t headerLength = 6) {
    SmfBuilder smf;
    smf.headerLength(headerLength).addTrack().tempo(0, 500000).noteOn(480, 0, 60, 100);
    smf.addTrack().noteOn(0, 1, 40, 100).noteOn(480, 1, 41, 100);
    return smf.bytes();
}

// Walks the merged events from the start, keeping `pick(event)` of each delivered one.
template <class Pick> auto walk(CxMidiSequence& sequence, Pick pick) {
    std::vector<decltype(pick(CxMidiEvent{}))> picked;
    sequence.rewind();
    CxMidiEvent event;
    while (sequence.next(event))
        picked.push_back(pick(event));
    return picked;
}

// A file's bytes and the sequence read from them; the sequence points into the bytes.
struct Parsed {
    explicit Parsed(const SmfBuilder& smf)
        : bytes(smf.bytes())
        , sequence(parseSmf(bytes).sequence) {}
    Parsed(const Parsed&) = delete;
    Parsed& operator=(const Parsed&) = delete;
    std::string bytes;
    std::unique_ptr<CxMidiSequence> sequence;
};

// The merged walk as text: "track:tick:status " per event.
std::string walkText(CxMidiSequence& sequence) {
    std::string out;
    for (const std::string& event : walk(sequence, [](const CxMidiEvent& e) {
             return std::to_string(e.track) + ":" + std::to_string(e.tick) + ":" +
                    std::to_string(e.status) + " ";
         }))
        out += event;
    return out;
}

std::string patched(std::string bytes, std::size_t at, std::string_view with) {
    return bytes.replace(at, with.size(), with);
}

} // namespace

TEST(MidiSequence, RejectsBrokenChunkStructure) {
    const std::string good = twoTrackSong();
    const std::pair<const char*, std::string> cases[] = {
        {"empty", ""},
        {"no header", "RIFF" + good},
        {"preamble without a header", std::string(128, 'U') + "RIFF" + good},
        {"header length 5", patched(good, 7, "\x05")},
        {"header longer than the file", patched(good, 4, "\x7F")},
        {"second chunk not a track", patched(good, 14, "MTrx")},
        {"track longer than the file", patched(good, 18, "\x7F")},
        {"fewer tracks than declared", SmfBuilder().declareTracks(2).bytes()},
        {"track head cut short", good.substr(0, 14 + 6)},
        {"header of 4 GiB", patched(good, 4, "\xFF\xFF\xFF\xFF")},
        {"track of 4 GiB", patched(good, 18, "\xFF\xFF\xFF\xFF")},
        {"65535 tracks declared, two there", patched(good, 10, "\xFF\xFF")},
    };
    for (const auto& [what, bytes] : cases) {
        const auto parsed = parseSmf(bytes);
        EXPECT_EQ(parsed.sequence, nullptr) << what;
        EXPECT_EQ(parsed.status, CxMidiStatus::InvalidFile) << what;
    }
}

TEST(MidiSequence, WalksTheMostTracksAFileCanDeclareInBoundedTime) {
    // 65535 tracks of one note each, every track starting one tick after the one before, so the
    // merged walk sees them all pending at once.
    constexpr std::uint32_t kTracks = 65535;
    std::string bytes("MThd\0\0\0\x06\0\x01\xFF\xFF\x01\xE0", 14);
    for (std::uint32_t index = 0; index < kTracks; ++index) {
        const std::string delta = kor::test::variableLength(kTracks - 1 - index);
        const std::string body = delta + "\x90\x3C\x40" + std::string("\0\xFF\x2F\0", 4);
        bytes += "MTrk" + std::string{'\0', '\0', '\0', static_cast<char>(body.size())} + body;
    }
    auto sequence = parseSmf(bytes).sequence;
    ASSERT_NE(sequence, nullptr);
    ASSERT_EQ(sequence->trackCount(), kTracks);

    const auto start = std::chrono::steady_clock::now();
    const auto tracks = walk(*sequence, [](const CxMidiEvent& e) { return e.track; });
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    ASSERT_EQ(tracks.size(), 2 * kTracks);
    // The last track plays first; each note comes right before its track's end.
    EXPECT_EQ(tracks[0], kTracks - 1);
    EXPECT_EQ(tracks[1], kTracks - 1);
    EXPECT_EQ(tracks[2 * kTracks - 1], 0u);
    EXPECT_EQ(sequence->status(), CxMidiStatus::EndOfFile);
}

TEST(MidiSequence, AcceptsPreambleLongHeaderAndTrailingBytes) {
    const std::string plain = twoTrackSong();
    auto reference = parseSmf(plain).sequence;
    ASSERT_NE(reference, nullptr);
    const std::string expected = walkText(*reference);
    // On equal ticks the lower track comes first.
    ASSERT_EQ(expected, "0:0:255 1:0:145 0:480:144 0:480:255 1:480:145 1:480:255 ");
    for (const std::string& bytes :
         {std::string(128, '\x55') + plain, twoTrackSong(10), plain + "MTrk rest"}) {
        auto sequence = parseSmf(bytes).sequence;
        ASSERT_NE(sequence, nullptr);
        EXPECT_EQ(walkText(*sequence), expected);
    }
}

TEST(MidiSequence, MergedWalkFiltersByKindAndChannelAndKeepsTime) {
    SmfBuilder smf;
    smf.addTrack().noteOn(100, 0, 60, 0).controller(100, 0, 7, 100).text(200, "end");
    smf.addTrack().noteOn(0, 3, 40, 90).noteOn(100, 3, 41, 90).noteOff(150, 3, 41);
    const Parsed parsed(smf);
    CxMidiSequence* sequence = parsed.sequence.get();
    ASSERT_NE(sequence, nullptr);
    // Only note-offs, the velocity-0 note-on among them; deltas count from delivered events.
    for (unsigned kind = 0; kind < 16; ++kind)
        sequence->setKindEnabled(kind, kind == 0x8);
    EXPECT_EQ(walk(*sequence, [](const CxMidiEvent& event) { return event.delta; }),
              (std::vector<std::uint64_t>{100, 50}));
    EXPECT_TRUE(sequence->status() == CxMidiStatus::EndOfFile && sequence->atEnd());
    for (unsigned kind = 0; kind < 16; ++kind)
        sequence->setKindEnabled(kind, true);
    sequence->setChannelEnabled(3, false);
    EXPECT_EQ(walkText(*sequence), "0:100:144 0:100:176 1:150:255 0:200:255 0:200:255 ");

    // Tempo events on any track count while not delivered: 1 s a quarter for the first 96
    // ticks, then 0.25 s; 1/96 of 250 ms is 2.604 ms.
    SmfBuilder timed(1, 96);
    timed.addTrack().tempo(0, 1000000).tempo(96, 250000);
    timed.addTrack()
        .noteOn(48, 0, 60, 1)
        .noteOn(96, 0, 60, 1)
        .noteOn(97, 0, 60, 1)
        .noteOn(192, 0, 60, 1);
    const Parsed clocked(timed);
    ASSERT_NE(clocked.sequence, nullptr);
    CxMidiSequence& clock = *clocked.sequence;
    clock.setKindEnabled(0, false);
    EXPECT_EQ(walk(clock, [&](const CxMidiEvent&) { return clock.elapsedMilliseconds(); }),
              (std::vector<std::uint64_t>{500, 1000, 1002, 1250}));
}

TEST(MidiSequence, MalformedTrackIsReportedAndTheOthersGoOn) {
    SmfBuilder smf;
    smf.addTrack().noteOn(0, 0, 60, 1).noteOn(10, 0, 61, 1);
    smf.addTrack().noteOn(5, 1, 60, 1).raw(std::string("\x00\xF4\x00\x00", 4)).withoutEnd();
    const Parsed parsed(smf);
    ASSERT_NE(parsed.sequence, nullptr);
    CxMidiSequence& sequence = *parsed.sequence;
    EXPECT_EQ(walk(sequence, [](const CxMidiEvent& event) { return event.track; }),
              (std::vector<std::uint32_t>{0, 1}));
    EXPECT_EQ(sequence.status(), CxMidiStatus::InvalidFile);
    CxMidiEvent event;
    std::vector<std::uint32_t> rest;
    while (sequence.next(event))
        rest.push_back(event.track);
    EXPECT_EQ(sequence.status(), CxMidiStatus::EndOfFile);
    EXPECT_EQ(rest, (std::vector<std::uint32_t>{0, 0}));
}

TEST(GlobalBuffer, LoadsWholeFilesAndRefusesEmptyOrMissingOnes) {
    kor::test::TempDir dir;
    const std::string bytes = twoTrackSong();
    dir.write("song.mid", bytes);
    dir.write("empty.mid", "");

    CxGlobalBuffer buffer;
    ASSERT_TRUE(buffer.load(dir.wide("song.mid")));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.data()), buffer.size()), bytes);
    EXPECT_FALSE(buffer.load(dir.wide("empty.mid")));
    EXPECT_EQ(buffer.error(), CxMidiStatus::InvalidFile);
    EXPECT_EQ(buffer.data(), nullptr);
    EXPECT_FALSE(buffer.load(dir.wide("missing.mid")));
    EXPECT_EQ(buffer.error(), CxMidiStatus::OpenFailed);
    EXPECT_FALSE(buffer.load(dir.wide()));
    EXPECT_EQ(buffer.error(), CxMidiStatus::OpenFailed);
}

namespace {

struct Counts {
    std::vector<std::size_t> eventsPerTrack;
    std::size_t noteOns = 0;
    std::size_t noteOffs = 0;
    bool operator==(const Counts&) const = default;
};

// A plain count straight from the bytes, written apart from the reader: chunk by chunk, event by
// event, with running status. Trusts the file, which the reader has already accepted.
Counts countIndependently(const std::string& file) {
    Counts counts;
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(file[i]); };
    auto be32 = [&](std::size_t i) {
        return std::size_t{byte(i)} << 24 | std::size_t{byte(i + 1)} << 16 | byte(i + 2) << 8 |
               byte(i + 3);
    };
    std::size_t pos = 8 + be32(4);
    for (std::size_t t = 0, tracks = byte(10) << 8 | byte(11); t < tracks; ++t) {
        const std::size_t end = pos + 8 + be32(pos + 4);
        std::size_t events = 0;
        unsigned running = 0;
        auto vlq = [&] {
            std::size_t v = 0;
            while (byte(pos) & 0x80)
                v = (v << 7) | (byte(pos++) & 0x7F);
            return (v << 7) | byte(pos++);
        };
        for (pos += 8; pos < end; ++events) {
            vlq();
            const unsigned status = byte(pos) >= 0x80 ? byte(pos++) : running;
            if (status == 0xFF) {
                const bool last = byte(pos++) == 0x2F;
                pos += vlq();
                running = 0;
                if (last) {
                    ++events;
                    break;
                }
            } else if (status == 0xF0 || status == 0xF7) {
                pos += vlq();
                running = 0;
            } else {
                running = status;
                const unsigned kind = status >> 4;
                const unsigned velocity = (kind == 0xC || kind == 0xD) ? 0 : byte(pos + 1);
                pos += (kind == 0xC || kind == 0xD) ? 1 : 2;
                counts.noteOns += kind == 0x9 && velocity > 0;
                counts.noteOffs += kind == 0x8 || (kind == 0x9 && velocity == 0);
            }
        }
        counts.eventsPerTrack.push_back(events);
        pos = end;
    }
    return counts;
}

// Walks the whole file merged, checking the tick order, and counts what it delivered.
Counts mergedCounts(CxMidiSequence& sequence) {
    Counts seen;
    seen.eventsPerTrack.resize(sequence.trackCount());
    std::uint64_t lastTick = 0;
    CxMidiEvent event;
    sequence.rewind();
    while (sequence.next(event)) {
        EXPECT_GE(event.tick, lastTick);
        lastTick = event.tick;
        ++seen.eventsPerTrack.at(event.track);
        seen.noteOns += event.kind() == 0x9;
        seen.noteOffs += event.kind() == 0x8;
    }
    EXPECT_EQ(sequence.status(), CxMidiStatus::EndOfFile);
    return seen;
}

} // namespace

// Songs made by others with other tools, unpacked into the build tree when it was configured.
TEST(MidiSequence, ReadsRealSongsWholeBehindAPreambleAndRefusesThemCutShort) {
    std::vector<std::filesystem::path> songs;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(KORMAN_MIDI_SAMPLES_DIR, ec))
        if (entry.path().extension() == ".mid") songs.push_back(entry.path());
    if (songs.empty())
        GTEST_SKIP() << "no MIDI songs in " KORMAN_MIDI_SAMPLES_DIR
                        " (scripts/bootstrap.sh --samples midi fetches them; needs the network)";

    std::size_t notes = 0;
    for (const auto& song : songs) {
        std::ifstream in(song, std::ios::binary);
        const std::string file{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
        SCOPED_TRACE(song.filename().string());
        const Counts expected = countIndependently(file);
        notes += expected.noteOns;
        for (const std::string& bytes : {file, std::string(128, '\0') + file}) {
            auto sequence = parseSmf(bytes).sequence;
            ASSERT_NE(sequence, nullptr);
            EXPECT_TRUE(mergedCounts(*sequence) == expected);
        }
        for (std::size_t cut :
             {std::size_t{3}, std::size_t{30}, file.size() / 3, file.size() - 1}) {
            const auto parsed = parseSmf(file.substr(0, cut));
            EXPECT_EQ(parsed.sequence, nullptr) << cut;
            EXPECT_EQ(parsed.status, CxMidiStatus::InvalidFile) << cut;
        }
    }
    EXPECT_GT(notes, 0u);
}
