// One track chunk of a MIDI file: reads its events one by one through a bounds-checked cursor.
#pragma once

#include "legacy/MidiEvent.h"

#include <array>
#include <cstddef>
#include <cstdint>

/// One "MTrk" chunk of a parsed MIDI file. Borrows the chunk's bytes (owned by the file image)
/// and the channel enable flags of its sequence; both must outlive it.
///
/// A malformed event stops the track for good: every later read answers InvalidFile until the
/// track is rewound. The end-of-track meta event ends it cleanly (EndOfTrack).
class CxMidiTrack {
public:
    using ChannelFlags = std::array<std::uint8_t, 16>;

    CxMidiTrack(const std::uint8_t* data, std::size_t length, std::uint32_t index,
                const ChannelFlags& channelEnabled);
    CxMidiTrack(const CxMidiTrack&) = delete;
    CxMidiTrack& operator=(const CxMidiTrack&) = delete;

    /// Starts the track over from its first event.
    void rewind();

    /// Delivers the next event whose channel is enabled (events of other kinds always pass).
    /// False at the end of the track or at malformed data; status() then tells which.
    bool next(CxMidiEvent& event);

    /// EndOfTrack after a clean end, InvalidFile after malformed data, None otherwise.
    CxMidiStatus status() const { return status_; }
    std::uint32_t index() const { return index_; }
    std::size_t length() const { return length_; }

private:
    // The merged walk of the sequence reads events unfiltered and keeps one pending per track.
    friend class CxMidiSequence;

    static constexpr unsigned kEndSeen = 1;
    static constexpr unsigned kMalformed = 2;

    /// Reads the next event, whatever its channel, into current_: None when one was read,
    /// EndOfTrack or InvalidFile when the track is finished.
    CxMidiStatus readEvent();
    bool readVariable(std::uint32_t& value);
    CxMidiStatus malformed();

    const std::uint8_t* data_;
    std::size_t length_;
    std::uint32_t index_;
    const ChannelFlags& channelEnabled_;

    std::size_t pos_ = 0;
    std::uint64_t tick_ = 0;
    std::uint64_t lastDelivered_ = 0;
    unsigned state_ = 0;
    std::uint8_t runningStatus_ = 0;
    CxMidiStatus status_ = CxMidiStatus::None;
    CxMidiEvent current_;
};
