#include "legacy/MidiTrack.h"

#include <limits>

namespace {

// Channel messages of these kinds carry two data bytes; program change (0xC) and channel
// pressure (0xD) carry one.
bool takesTwoDataBytes(std::uint8_t status) {
    switch (status >> 4) {
    case 0x8:
    case 0x9:
    case 0xA:
    case 0xB:
    case 0xE:
        return true;
    default:
        return false;
    }
}

} // namespace

CxMidiTrack::CxMidiTrack(const std::uint8_t* data, std::size_t length, std::uint32_t index,
                         const ChannelFlags& channelEnabled)
    : data_(data)
    , length_(length)
    , index_(index)
    , channelEnabled_(channelEnabled) {
    current_.track = index;
}

void CxMidiTrack::rewind() {
    pos_ = 0;
    tick_ = 0;
    lastDelivered_ = 0;
    state_ = 0;
    runningStatus_ = 0;
    status_ = CxMidiStatus::None;
    current_ = CxMidiEvent{};
    current_.track = index_;
}

CxMidiStatus CxMidiTrack::malformed() {
    state_ |= kMalformed;
    status_ = CxMidiStatus::InvalidFile;
    return status_;
}

// A variable-length quantity: seven bits a byte, most significant group first, the last byte with
// its high bit clear. Writers pad with leading 0x80 bytes, so the number may take any count of
// bytes; only a value beyond 32 bits is malformed. The walk never passes the end of the track,
// which bounds the work, and 32-bit deltas keep tick sums far from overflowing 64 bits.
bool CxMidiTrack::readVariable(std::uint32_t& value) {
    value = 0;
    while (pos_ < length_) {
        std::uint8_t byte = data_[pos_++];
        if (value > std::numeric_limits<std::uint32_t>::max() >> 7) return false;
        value = (value << 7) | (byte & 0x7F);
        if ((byte & 0x80) == 0) return true;
    }
    return false;
}

CxMidiStatus CxMidiTrack::readEvent() {
    if (state_ != 0)
        return (state_ & kEndSeen) ? CxMidiStatus::EndOfTrack : CxMidiStatus::InvalidFile;

    std::uint32_t delta = 0;
    if (!readVariable(delta)) return malformed();
    tick_ += delta;
    // Every event needs at least three bytes; the checks below then only guard variable lengths.
    if (length_ - pos_ < 3) return malformed();

    CxMidiEvent event;
    event.track = index_;
    event.tick = tick_;
    event.delta = delta;
    std::uint8_t first = data_[pos_++];

    if (first < 0x80) {
        if (runningStatus_ == 0) return malformed();
        event.status = runningStatus_;
        event.data1 = first;
        if (takesTwoDataBytes(runningStatus_)) event.data2 = data_[pos_++];
    } else if (first < 0xF0) {
        runningStatus_ = first;
        event.status = first;
        event.data1 = data_[pos_++];
        if (takesTwoDataBytes(first)) event.data2 = data_[pos_++];
    } else if (first == kor::midi::kSysEx || first == kor::midi::kSysExEscape ||
               first == kor::midi::kMeta) {
        runningStatus_ = 0;
        event.status = first;
        if (first == kor::midi::kMeta) {
            event.data1 = data_[pos_++];
        }
        std::uint32_t size = 0;
        if (!readVariable(size) || size > length_ - pos_) return malformed();
        event.length = size;
        event.data = data_ + pos_;
        pos_ += size;
        if (event.isMeta() && event.data1 == kor::midi::kMetaEndOfTrack) state_ |= kEndSeen;
    } else {
        return malformed();
    }
    current_ = event;
    return CxMidiStatus::None;
}

bool CxMidiTrack::next(CxMidiEvent& event) {
    for (;;) {
        CxMidiStatus read = readEvent();
        if (read != CxMidiStatus::None) {
            status_ = read;
            return false;
        }
        if (current_.isChannelMessage() && channelEnabled_[current_.channel()] == 0) continue;
        event = current_;
        event.delta = current_.tick - lastDelivered_;
        lastDelivered_ = current_.tick;
        return true;
    }
}
