#include "legacy/MidiTrack.h"

#include "builders/SmfBuilder.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

using kor::test::parseSmf;
using kor::test::SmfBuilder;

namespace {

struct Walk {
    std::vector<CxMidiEvent> events;
    CxMidiStatus status = CxMidiStatus::None;
};

// Parses a one-track file around `body` (given without end-of-track when `raw`) and walks it.
Walk walkTrack(const std::string& file) {
    auto [sequence, status] = parseSmf(file);
    EXPECT_EQ(status, CxMidiStatus::None);
    Walk walk;
    if (!sequence) return walk;
    CxMidiTrack* track = sequence->track(0);
    CxMidiEvent event;
    while (track->next(event))
        walk.events.push_back(event);
    walk.status = track->status();
    return walk;
}

std::string rawTrack(const std::string& body) {
    SmfBuilder smf;
    smf.addTrack().raw(body).withoutEnd();
    return smf.bytes();
}

} // namespace

TEST(MidiTrack, MalformedEventsStopTheTrackWhereTheyAre) {
    struct Case {
        const char* what;
        std::string body;
        std::size_t eventsBefore;
    };
    const Case cases[] = {
        {"no end of track", std::string("\x00\x90\x3C\x40", 4), 1},
        {"undefined status", std::string("\x00\xF4\x00\x00\x00\xFF\x2F\x00", 8), 0},
        {"meta longer than the chunk",
         std::string("\x00\xFF\x01\x05"
                     "abc",
                     7),
         0},
        {"sysex longer than the chunk", std::string("\x00\x90\x3C\x40\x00\xF0\x05\x01\x02", 9), 1},
        {"delta runs off", std::string("\x00\x90\x3C\x40\x81\x80", 6), 1},
        {"delta beyond 32 bits", std::string("\x90\x80\x80\x80\x00\xFF\x2F\x00", 8), 0},
        {"padded length running off", std::string("\x00\xFF\x01\x80\x80\x80\x80", 7), 0},
        {"fewer than three bytes left", std::string("\x00\xC0\x05", 3), 0},
    };
    for (const Case& c : cases) {
        Walk walk = walkTrack(rawTrack(c.body));
        EXPECT_EQ(walk.events.size(), c.eventsBefore) << c.what;
        EXPECT_EQ(walk.status, CxMidiStatus::InvalidFile) << c.what;
    }
}

TEST(MidiTrack, DeliversMetaAndSysExDataInPlaceAndSkipsDisabledChannels) {
    SmfBuilder smf;
    smf.addTrack()
        .text(0, "hello")
        .noteOn(5, 0, 60, 1)
        .noteOn(7, 1, 61, 1)
        .sysEx(9, "\x7E\x01")
        .noteOn(200, 1, 62, 1);
    const std::string bytes = smf.bytes();
    auto sequence = parseSmf(bytes).sequence;
    ASSERT_NE(sequence, nullptr);
    sequence->setChannelEnabled(1, false);
    CxMidiTrack* track = sequence->track(0);
    ASSERT_NE(track, nullptr);
    EXPECT_EQ(sequence->track(1), nullptr);

    std::vector<CxMidiEvent> events;
    CxMidiEvent event;
    while (track->next(event))
        events.push_back(event);
    ASSERT_EQ(events.size(), 4u); // text, note on channel 0, sysex, end of track
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(events[0].data), events[0].length),
              "hello");
    // Deltas count from the delivered note at 5, not the skipped one.
    EXPECT_EQ(std::tuple(events[2].status, events[2].length, events[2].delta),
              std::tuple(0xF0, 2u, 4u));
    EXPECT_EQ(std::tuple(events[3].tick, events[3].delta), std::tuple(200u, 191u));

    // Rewinding reads the same events again.
    track->rewind();
    ASSERT_TRUE(track->next(event));
    EXPECT_EQ(event.data1, 0x01);
}
