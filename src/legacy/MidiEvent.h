// The status numbers of the MIDI file reader and the event record it hands to its users.
#pragma once

#include <cstdint>
#include <iterator>
#include <string_view>

/// Status numbers of the MIDI file reader. The reader itself produces InvalidFile, NoMemory,
/// EndOfTrack and EndOfFile.
enum class CxMidiStatus : int {
    None = 0,
    InvalidFile = 1,
    NoMemory = 2,
    OpenFailed = 3,
    InvalidTrack = 4,
    MetaPending = 5,
    AlreadyOpen = 6,
    EndOfTrack = 7,
    NoMeta = 8,
    InvalidParam = 9,
    InvalidBuffer = 10,
    EndOfFile = 11,
    ReachedKTMax = 12,
    InternalError = 13,
};

/// The name of a status number ("Invalid File", "End Of Track", ...), or "" for a number outside
/// 0..13.
constexpr std::string_view midiStatusName(int status) {
    constexpr std::string_view names[] = {
        "None",           "Invalid File", "No Memory",     "Open Failed",    "Invalid Track",
        "Meta Pending",   "Already Open", "End Of Track",  "No Meta",        "Invalid Param",
        "Invalid Buffer", "End Of File",  "Reached KTMax", "Internal Error",
    };
    return status >= 0 && status < static_cast<int>(std::size(names)) ? names[status] : "";
}

/// Status bytes, meta types and controllers that the MIDI readers, the import and the export of
/// MIDI files agree on.
namespace kor::midi {
inline constexpr std::uint8_t kNoteOff = 0x80;
inline constexpr std::uint8_t kNoteOn = 0x90;
inline constexpr std::uint8_t kSysEx = 0xF0;
inline constexpr std::uint8_t kSysExEscape = 0xF7;
inline constexpr std::uint8_t kMeta = 0xFF;
inline constexpr std::uint8_t kMetaText = 0x01;
inline constexpr std::uint8_t kMetaTrackName = 0x03;
inline constexpr std::uint8_t kMetaInstrumentName = 0x04;
inline constexpr std::uint8_t kMetaLyric = 0x05;
inline constexpr std::uint8_t kMetaEndOfTrack = 0x2F;
inline constexpr std::uint8_t kMetaTempo = 0x51;
inline constexpr std::uint8_t kMetaTimeSignature = 0x58;
inline constexpr std::uint8_t kControllerDataEntry = 6;
inline constexpr std::uint8_t kControllerExpression = 11;
inline constexpr std::uint8_t kControllerRpnLsb = 100;
inline constexpr std::uint8_t kControllerRpnMsb = 101;
/// The widest bend sensitivity, in semitones, that registered parameter 0/0 is taken to set.
inline constexpr std::int32_t kMaxBendSensitivity = 24;
/// The pitch-bend value of no bend; a bend event's 14 bits run from 0 to twice this less one.
inline constexpr std::int32_t kPitchCentre = 8192;
} // namespace kor::midi

/// One event as a walk delivers it. `data` points into the file image and stays valid while the
/// image does.
struct CxMidiEvent {
    std::uint64_t delta = 0;  ///< ticks since the event the same walk delivered before
    std::uint64_t tick = 0;   ///< absolute tick within the track
    std::uint32_t track = 0;  ///< index of the track the event comes from
    std::uint8_t status = 0;  ///< 0x80..0xEF channel message, 0xF0/0xF7 system exclusive, 0xFF meta
    std::uint8_t data1 = 0;   ///< first data byte, or the meta type
    std::uint8_t data2 = 0;   ///< second data byte of a two-byte channel message
    std::uint32_t length = 0; ///< bytes at `data` (meta and system-exclusive events)
    const std::uint8_t* data = nullptr;

    bool isChannelMessage() const { return status >= 0x80 && status < 0xF0; }
    bool isMeta() const { return status == kor::midi::kMeta; }
    std::uint8_t channel() const { return status & 0x0F; }
    /// The filter kind: a channel message's high nibble, with a note-on of velocity 0 counted as a
    /// note-off (8); system exclusive is 15 and meta events are 0.
    unsigned kind() const {
        if (isChannelMessage()) {
            unsigned high = status >> 4;
            return high == 0x9 && data2 == 0 ? 0x8 : high;
        }
        return isMeta() ? 0 : 15;
    }
};
