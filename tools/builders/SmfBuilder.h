// Writes Standard MIDI File bytes from events at absolute ticks, for tests and the samples.
#pragma once

#include "legacy/MidiSequence.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kor::test {

/// The variable-length form of a number (seven bits a byte, most significant first).
std::string variableLength(std::uint32_t value);

/// The events of one track chunk, appended at absolute ticks that must not decrease.
class SmfTrackWriter {
public:
    SmfTrackWriter& noteOn(std::uint32_t tick, unsigned channel, unsigned key, unsigned velocity);
    SmfTrackWriter& noteOff(std::uint32_t tick, unsigned channel, unsigned key);
    SmfTrackWriter& controller(std::uint32_t tick, unsigned channel, unsigned number,
                               unsigned value);
    SmfTrackWriter& program(std::uint32_t tick, unsigned channel, unsigned program);
    /// Any channel message: `data2` is written only for kinds that take two data bytes.
    SmfTrackWriter& message(std::uint32_t tick, unsigned status, unsigned data1,
                            unsigned data2 = 0);
    SmfTrackWriter& meta(std::uint32_t tick, unsigned type, std::string_view data);
    SmfTrackWriter& text(std::uint32_t tick, std::string_view text) {
        return meta(tick, 0x01, text);
    }
    SmfTrackWriter& tempo(std::uint32_t tick, std::uint32_t microsPerQuarter);
    SmfTrackWriter& timeSignature(std::uint32_t tick, unsigned numerator,
                                  unsigned denominatorExponent);
    SmfTrackWriter& sysEx(std::uint32_t tick, std::string_view data);
    /// Bytes taken as they are, with no delta time in front.
    SmfTrackWriter& raw(std::string_view bytes);
    /// Leaves out a status byte equal to the previous channel message's.
    SmfTrackWriter& runningStatus(bool on);
    /// Ends the chunk without the end-of-track event.
    SmfTrackWriter& withoutEnd();

    /// The chunk body, ending with end-of-track at the last event's tick unless left out.
    std::string body() const;

private:
    void delta(std::uint32_t tick);

    std::string bytes_;
    std::uint32_t tick_ = 0;
    unsigned lastStatus_ = 0;
    bool runningStatus_ = false;
    bool end_ = true;
};

/// A whole MIDI file: header chunk plus track chunks, with knobs for malformed structure.
class SmfBuilder {
public:
    explicit SmfBuilder(unsigned format = 1, unsigned division = 480);

    /// A new track chunk after the ones added before. The reference stays valid.
    SmfTrackWriter& addTrack();
    /// Declares a track count other than the number of tracks added.
    SmfBuilder& declareTracks(unsigned count);
    /// Declares a header chunk longer than six bytes and pads it with zeros.
    SmfBuilder& headerLength(std::uint32_t length);
    /// Puts a 128-byte block of filler before the header chunk.
    SmfBuilder& preamble();

    std::string bytes() const;

private:
    unsigned format_;
    unsigned division_;
    int declared_ = -1;
    std::uint32_t headerLength_ = 6;
    bool preamble_ = false;
    std::vector<std::unique_ptr<SmfTrackWriter>> tracks_;
};

/// Parses MIDI bytes kept in a string; the string must outlive the sequence.
CxMidiSequence::ParseResult parseSmf(const std::string& bytes);

} // namespace kor::test
