#include "legacy/MidiSequence.h"

#include "legacy/GlobalBuffer.h"
#include "support/SmfBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using kor::test::parseSmf;
using kor::test::SmfBuilder;

namespace {

struct Delivered {
    std::uint32_t track;
    std::uint64_t tick;
    std::uint8_t status;
    std::uint8_t data1;
};

std::vector<Delivered> mergedWalk(CxMidiSequence& sequence) {
    std::vector<Delivered> out;
    sequence.rewind();
    CxMidiEvent event;
    while (sequence.next(event))
        out.push_back({event.track, event.tick, event.status, event.data1});
    return out;
}

SmfBuilder twoTrackSong() {
    SmfBuilder smf;
    smf.addTrack().tempo(0, 500000).noteOn(480, 0, 60, 100);
    smf.addTrack().noteOn(0, 1, 40, 100).noteOn(480, 1, 41, 100);
    return smf;
}

} // namespace

TEST(MidiSequence, RejectsBrokenChunkStructure) {
    const std::string good = twoTrackSong().bytes();
    struct Case {
        const char* what;
        std::string bytes;
    };
    std::string shortHeader = good;
    shortHeader[7] = 5;
    std::string longHeader = good;
    longHeader[4] = 0x7F;
    std::string notTrack = good;
    notTrack.replace(14, 4, "MTrx");
    std::string longTrack = good;
    longTrack[18] = 0x7F;
    const Case cases[] = {
        {"empty", ""},
        {"no header", "RIFF" + good},
        {"header length 5", shortHeader},
        {"header longer than the file", longHeader},
        {"second chunk not a track", notTrack},
        {"track longer than the file", longTrack},
        {"fewer tracks than declared", SmfBuilder().declareTracks(2).bytes()},
        {"track head cut short", good.substr(0, 14 + 6)},
    };
    for (const Case& c : cases) {
        int error = 0;
        EXPECT_EQ(parseSmf(c.bytes, error), nullptr) << c.what;
        EXPECT_EQ(error, 1) << c.what;
    }
}

TEST(MidiSequence, AcceptsPreambleLongHeaderAndTrailingBytes) {
    SmfBuilder plain = twoTrackSong();
    int error = -2;
    const std::string plainBytes = plain.bytes();
    auto reference = parseSmf(plainBytes, error);
    ASSERT_NE(reference, nullptr);
    const std::vector<Delivered> expected = mergedWalk(*reference);

    SmfBuilder withPreamble = twoTrackSong();
    const std::string variants[] = {
        withPreamble.preamble().bytes(),
        twoTrackSong().headerLength(10).bytes(),
        plainBytes + "MTrk garbage after the declared tracks",
    };
    for (const std::string& bytes : variants) {
        auto sequence = parseSmf(bytes, error);
        ASSERT_NE(sequence, nullptr);
        EXPECT_EQ(error, 0);
        EXPECT_EQ(sequence->header().format, 1);
        EXPECT_EQ(sequence->header().division, 480);
        ASSERT_EQ(sequence->trackCount(), 2u);
        auto walked = mergedWalk(*sequence);
        ASSERT_EQ(walked.size(), expected.size());
        for (std::size_t i = 0; i < walked.size(); ++i) {
            EXPECT_EQ(walked[i].tick, expected[i].tick);
            EXPECT_EQ(walked[i].status, expected[i].status);
        }
    }
}

TEST(MidiSequence, MergedWalkOrdersByTickThenTrackAndFilters) {
    SmfBuilder smf;
    smf.addTrack().noteOn(100, 0, 60, 0).controller(100, 0, 7, 100).text(200, "end");
    smf.addTrack().noteOn(0, 3, 40, 90).noteOn(100, 3, 41, 90).noteOff(150, 3, 41);
    const std::string bytes = smf.bytes();
    int error = -2;
    auto sequence = parseSmf(bytes, error);
    ASSERT_NE(sequence, nullptr);

    auto all = mergedWalk(*sequence);
    ASSERT_EQ(all.size(), 8u);
    // At tick 100 both of track 0's events come before track 1's.
    EXPECT_EQ((std::vector<std::uint32_t>{all[1].track, all[2].track, all[3].track}),
              (std::vector<std::uint32_t>{0, 0, 1}));
    EXPECT_EQ(sequence->status(), CxMidiStatus::EndOfFile);
    EXPECT_TRUE(sequence->atEnd());

    // Only note-offs, the velocity-0 note-on among them; deltas count from delivered events.
    for (unsigned kind = 0; kind < 16; ++kind)
        sequence->setKindEnabled(kind, kind == 0x8);
    sequence->rewind();
    std::vector<std::uint64_t> deltas;
    CxMidiEvent event;
    while (sequence->next(event))
        deltas.push_back(event.delta);
    EXPECT_EQ(deltas, (std::vector<std::uint64_t>{100, 50}));

    // Channel 3 off leaves track 0's events and the end of track 1.
    for (unsigned kind = 0; kind < 16; ++kind)
        sequence->setKindEnabled(kind, true);
    sequence->setChannelEnabled(3, false);
    auto rest = mergedWalk(*sequence);
    EXPECT_EQ(rest.size(), 5u);
    EXPECT_TRUE(std::none_of(rest.begin(), rest.end(), [](const Delivered& d) { return d.status == 0x93; }));
}

TEST(MidiSequence, ElapsedTimeFollowsTempoChangesOnAnyTrack) {
    SmfBuilder smf(1, 96);
    smf.addTrack().tempo(0, 1000000).tempo(96, 250000);
    smf.addTrack().noteOn(48, 0, 60, 1).noteOn(96, 0, 60, 1).noteOn(97, 0, 60, 1).noteOn(192, 0, 60, 1);
    const std::string bytes = smf.bytes();
    int error = -2;
    auto sequence = parseSmf(bytes, error);
    ASSERT_NE(sequence, nullptr);
    sequence->setKindEnabled(0, false); // tempo events still count while not delivered

    std::vector<std::uint64_t> millis;
    sequence->rewind();
    CxMidiEvent event;
    while (sequence->next(event))
        millis.push_back(sequence->elapsedMilliseconds());
    // 1 s a quarter for the first 96 ticks, then 0.25 s; 1/96 of 250 ms is 2.604 ms.
    EXPECT_EQ(millis, (std::vector<std::uint64_t>{500, 1000, 1002, 1250}));
    EXPECT_EQ(sequence->header().tempo, 250000u);
}

TEST(MidiSequence, MalformedTrackIsReportedAndTheOthersGoOn) {
    SmfBuilder smf;
    smf.addTrack().noteOn(0, 0, 60, 1).noteOn(10, 0, 61, 1);
    smf.addTrack().noteOn(5, 1, 60, 1).raw(std::string("\x00\xF4\x00\x00", 4)).withoutEnd();
    const std::string bytes = smf.bytes();
    int error = -2;
    auto sequence = parseSmf(bytes, error);
    ASSERT_NE(sequence, nullptr);
    sequence->rewind();
    CxMidiEvent event;
    std::vector<std::uint32_t> tracks;
    while (sequence->next(event))
        tracks.push_back(event.track);
    EXPECT_EQ(sequence->status(), CxMidiStatus::InvalidFile);
    while (sequence->next(event))
        tracks.push_back(event.track);
    EXPECT_EQ(sequence->status(), CxMidiStatus::EndOfFile);
    EXPECT_EQ(tracks, (std::vector<std::uint32_t>{0, 1, 0, 0}));
}

TEST(GlobalBuffer, LoadsWholeFilesAndRefusesEmptyOrMissingOnes) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("korman-globalbuffer-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string bytes = twoTrackSong().bytes();
    std::ofstream(folder / "song.mid", std::ios::binary) << bytes;
    std::ofstream(folder / "empty.mid", std::ios::binary);

    CxGlobalBuffer buffer;
    ASSERT_TRUE(buffer.load((folder / "song.mid").wstring()));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.data()), buffer.size()), bytes);
    EXPECT_FALSE(buffer.load((folder / "empty.mid").wstring()));
    EXPECT_EQ(buffer.error(), CxMidiStatus::InvalidFile);
    EXPECT_EQ(buffer.data(), nullptr);
    EXPECT_FALSE(buffer.load((folder / "missing.mid").wstring()));
    EXPECT_EQ(buffer.error(), CxMidiStatus::OpenFailed);
    EXPECT_FALSE(buffer.load(folder.wstring()));
    EXPECT_EQ(buffer.error(), CxMidiStatus::OpenFailed);
    std::filesystem::remove_all(folder);
}

// Songs made by others with other tools, unpacked into the build tree at configure time.
namespace {

struct Counts {
    std::vector<std::size_t> eventsPerTrack;
    std::size_t noteOns = 0;
    std::size_t noteOffs = 0;
};

// A plain count straight from the bytes, written apart from the reader: chunk by chunk, event by
// event, with running status.
Counts countIndependently(const std::string& file, std::size_t start) {
    Counts counts;
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(file[i]); };
    auto be32 = [&](std::size_t i) {
        return std::size_t{byte(i)} << 24 | std::size_t{byte(i + 1)} << 16 | byte(i + 2) << 8 | byte(i + 3);
    };
    std::size_t tracks = std::size_t{byte(start + 10)} << 8 | byte(start + 11);
    std::size_t pos = start + 8 + be32(start + 4);
    for (std::size_t t = 0; t < tracks; ++t) {
        std::size_t end = pos + 8 + be32(pos + 4);
        pos += 8;
        std::size_t events = 0;
        unsigned running = 0;
        while (pos < end) {
            auto vlq = [&] {
                std::size_t v = 0;
                while (byte(pos) & 0x80) v = (v << 7) | (byte(pos++) & 0x7F);
                return (v << 7) | byte(pos++);
            };
            vlq();
            unsigned status = byte(pos);
            if (status >= 0x80)
                ++pos;
            else
                status = running;
            ++events;
            if (status == 0xFF) {
                bool endOfTrack = byte(pos++) == 0x2F;
                pos += vlq();
                running = 0;
                if (endOfTrack)
                    break;
            } else if (status == 0xF0 || status == 0xF7) {
                pos += vlq();
                running = 0;
            } else {
                running = status;
                unsigned kind = status >> 4;
                unsigned key = byte(pos++);
                (void)key;
                unsigned second = (kind == 0xC || kind == 0xD) ? 0 : byte(pos++);
                if (kind == 0x9 && second > 0)
                    ++counts.noteOns;
                else if (kind == 0x8 || kind == 0x9)
                    ++counts.noteOffs;
            }
        }
        counts.eventsPerTrack.push_back(events);
        pos = end;
    }
    return counts;
}

// The file cut at `cut` with its header and the cut track's length mended, so that the chunk
// structure holds and only the events of the last track stop short.
std::string cutInsideTrack(const std::string& file, std::size_t cut) {
    std::string out = file.substr(0, cut);
    auto be32 = [&](std::size_t i) {
        return std::size_t{static_cast<unsigned char>(file[i])} << 24 |
               std::size_t{static_cast<unsigned char>(file[i + 1])} << 16 |
               std::size_t{static_cast<unsigned char>(file[i + 2])} << 8 | static_cast<unsigned char>(file[i + 3]);
    };
    std::size_t pos = 8 + be32(4);
    unsigned tracks = 0;
    while (pos + 8 <= cut) {
        std::size_t end = pos + 8 + be32(pos + 4);
        ++tracks;
        if (end >= cut) {
            std::size_t length = cut - pos - 8;
            for (int b = 0; b < 4; ++b)
                out[pos + 4 + b] = static_cast<char>(length >> (24 - 8 * b));
            break;
        }
        pos = end;
    }
    out.resize(std::min(out.size(), pos + 8 + (tracks ? be32(pos + 4) : 0)));
    out[10] = static_cast<char>(tracks >> 8);
    out[11] = static_cast<char>(tracks);
    return out;
}

std::vector<std::string> sampleFiles() {
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(KORMAN_MIDI_SAMPLES_DIR, ec))
        if (entry.path().extension() == ".mid") {
            std::ifstream in(entry.path(), std::ios::binary);
            files.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
    return files;
}

// Walks the whole file merged; checks tick order and, with `expected`, the counts. Returns the
// number of walk reports of malformed tracks.
void checkMergedWalk(CxMidiSequence& sequence, const Counts* expected, const std::string& what) {
    std::vector<std::size_t> perTrack(sequence.trackCount());
    Counts seen;
    std::uint64_t lastTick = 0;
    std::size_t malformed = 0;
    CxMidiEvent event;
    sequence.rewind();
    while (!sequence.atEnd() && malformed <= sequence.trackCount()) {
        if (!sequence.next(event)) {
            malformed += sequence.status() == CxMidiStatus::InvalidFile ? 1 : 0;
            continue;
        }
        ASSERT_GE(event.tick, lastTick) << what;
        lastTick = event.tick;
        ++perTrack.at(event.track);
        if (event.kind() == 0x9)
            ++seen.noteOns;
        else if (event.kind() == 0x8)
            ++seen.noteOffs;
    }
    EXPECT_TRUE(sequence.atEnd()) << what;
    if (expected) {
        EXPECT_EQ(malformed, 0u) << what;
        EXPECT_EQ(perTrack, expected->eventsPerTrack) << what;
        EXPECT_EQ(seen.noteOns, expected->noteOns) << what;
        EXPECT_EQ(seen.noteOffs, expected->noteOffs) << what;
    }
}

} // namespace

TEST(MidiSequence, ReadsRealSongsWholeCutShortAndBehindAPreamble) {
    const std::vector<std::string> files = sampleFiles();
    if (files.empty())
        GTEST_SKIP() << "no MIDI songs in " KORMAN_MIDI_SAMPLES_DIR
                        " (scripts/bootstrap.sh --midi-samples fetches them; needs the network)";

    std::size_t notes = 0;
    for (std::size_t f = 0; f < files.size(); ++f) {
        const std::string& file = files[f];
        const std::string what = "song " + std::to_string(f);
        int error = -2;
        auto sequence = parseSmf(file, error);
        ASSERT_NE(sequence, nullptr) << what;
        const Counts expected = countIndependently(file, 0);
        notes += expected.noteOns;
        checkMergedWalk(*sequence, &expected, what);

        const std::string preambled = std::string(128, '\0') + file;
        auto behind = parseSmf(preambled, error);
        ASSERT_NE(behind, nullptr) << what;
        checkMergedWalk(*behind, &expected, what + " behind a preamble");

        // Cut short, the chunk structure is refused; with the structure mended the walk goes
        // on in order up to the damaged track's end.
        for (std::size_t cut : {std::size_t{3}, std::size_t{30}, file.size() / 3, file.size() / 2,
                                file.size() - 1}) {
            const std::string shortened = file.substr(0, cut);
            EXPECT_EQ(parseSmf(shortened, error), nullptr) << what << " cut at " << cut;
            EXPECT_EQ(error, 1);
            if (cut < 14)
                continue;
            const std::string mended = cutInsideTrack(file, cut);
            auto partial = parseSmf(mended, error);
            ASSERT_NE(partial, nullptr) << what << " cut at " << cut;
            checkMergedWalk(*partial, nullptr, what + " cut at " + std::to_string(cut));
        }
    }
    EXPECT_GT(notes, 0u);
}
