// A parsed MIDI file: its header and tracks, and walks over one track or all tracks in time order.
#pragma once

#include "legacy/MidiEvent.h"
#include "legacy/MidiTrack.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

/// One parsed Standard MIDI File. It borrows the file image it was parsed from: the image must
/// outlive the sequence, and event data point into it.
///
/// Channel and kind enable flags (all on at first) filter what the walks deliver: the per-track
/// walk skips channel messages on disabled channels; the merged walk also skips events whose kind
/// (CxMidiEvent::kind) is disabled. The merged walk keeps the tempo and time signature current
/// and counts the elapsed time of the events it passes.
class CxMidiSequence {
public:
    struct Header {
        std::uint16_t format = 0;
        std::uint16_t trackCount = 0;
        std::uint16_t division = 0;   ///< ticks per quarter note, or SMPTE when bit 15 is set
        std::uint32_t tempo = 500000; ///< microseconds per quarter note
        std::uint16_t timeSignature = 0x0204; ///< numerator << 8 | denominator exponent (4/4)
    };

    /// How many leading bytes of a file hasSignature() looks at.
    static constexpr std::size_t kSignatureBytes = 132;
    /// True when the first `length` bytes of a file (kSignatureBytes suffice) start a MIDI file:
    /// "MThd" at the start or after the 128-byte preamble some files carry.
    static bool hasSignature(const std::uint8_t* head, std::size_t length);

    /// What parse() gives: the sequence, or null and why.
    struct ParseResult {
        std::unique_ptr<CxMidiSequence> sequence;
        /// None with a sequence; else InvalidFile for a malformed structure or NoMemory when
        /// memory ran out.
        CxMidiStatus status = CxMidiStatus::None;
    };
    /// Parses the chunk structure of `length` bytes at `image`. A 128-byte preamble before "MThd"
    /// is skipped; bytes after the last declared track are ignored. Events are only checked when
    /// walked.
    [[nodiscard]] static ParseResult parse(const std::uint8_t* image, std::size_t length);

    CxMidiSequence(const CxMidiSequence&) = delete;
    CxMidiSequence& operator=(const CxMidiSequence&) = delete;

    const Header& header() const { return header_; }
    std::size_t trackCount() const { return tracks_.size(); }
    /// The track at `index` (borrowed), or null outside 0..trackCount()-1.
    CxMidiTrack* track(std::size_t index);

    void setChannelEnabled(unsigned channel, bool enabled);
    void setKindEnabled(unsigned kind, bool enabled);

    /// Starts the merged walk over: rewinds every track and resets tempo, time signature and
    /// elapsed time to their header defaults.
    void rewind();

    /// Delivers the next event of all tracks in tick order; on equal ticks the lower track index
    /// comes first. False when every track has ended (status EndOfFile) or when a track turned
    /// out malformed (status InvalidFile); that track then drops out and further calls go on
    /// with the others.
    bool next(CxMidiEvent& event);

    /// The status the merged walk ended with last (None while it delivers).
    CxMidiStatus status() const { return status_; }
    bool atEnd() const { return atEnd_; }
    /// Milliseconds from the start to the event delivered last, following tempo changes.
    std::uint64_t elapsedMilliseconds() const { return elapsedMs_; }

private:
    CxMidiSequence();

    void advanceClock(std::uint64_t ticks);
    void follow(const CxMidiEvent& event);

    CxMidiStatus status_ = CxMidiStatus::None;
    Header header_;
    std::vector<std::unique_ptr<CxMidiTrack>> tracks_;
    // The merged walk keeps the tracks with an event read but not yet delivered in a heap, the
    // earliest event on top, so each step costs log(tracks) however many tracks the file has.
    // Tracks whose next event is still to be read wait in `unread_` in index order, from
    // `unreadAt_` on. Both hold at most one entry per track: their room is reserved at parsing.
    std::vector<CxMidiTrack*> pending_;
    std::vector<CxMidiTrack*> unread_;
    std::size_t unreadAt_ = 0;
    CxMidiTrack::ChannelFlags channelEnabled_{};
    std::array<std::uint8_t, 16> kindEnabled_{};

    std::uint64_t lastTick_ = 0; // tick of the event the merged walk consumed last
    std::uint64_t lastDelivered_ = 0;
    std::uint64_t elapsedMs_ = 0;
    std::uint64_t elapsedUsRest_ = 0; // microseconds short of the next whole millisecond
    std::uint64_t tickRest_ = 0;      // microsecond fraction, in units of 1/ticksPerUnit
    bool atEnd_ = false;
};
