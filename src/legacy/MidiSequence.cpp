#include "legacy/MidiSequence.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace {

std::uint32_t read32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

std::uint16_t read16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}

constexpr std::size_t kPreamble = 128;
constexpr std::size_t kChunkHead = 8;

} // namespace

bool CxMidiSequence::hasSignature(const std::uint8_t* head, std::size_t length) {
    static_assert(kSignatureBytes == kPreamble + 4);
    const auto idAt = [&](std::size_t at) {
        return length >= at + 4 && std::memcmp(head + at, "MThd", 4) == 0;
    };
    return idAt(0) || idAt(kPreamble);
}

CxMidiSequence::ParseResult CxMidiSequence::parse(const std::uint8_t* image, std::size_t length) {
    const auto invalid = [] { return ParseResult{nullptr, CxMidiStatus::InvalidFile}; };
    if (image == nullptr) return invalid();
    const std::uint8_t* pos = image;
    std::size_t left = length;
    auto startsChunk = [&](const char* id) {
        return left >= kChunkHead && std::memcmp(pos, id, 4) == 0;
    };
    if (!startsChunk("MThd")) {
        // Some files carry a 128-byte block before the MIDI data.
        if (length < kPreamble) return invalid();
        pos += kPreamble;
        left -= kPreamble;
        if (!startsChunk("MThd")) return invalid();
    }
    std::uint32_t headerLength = read32(pos + 4);
    pos += kChunkHead;
    left -= kChunkHead;
    if (headerLength < 6 || headerLength > left) return invalid();

    std::unique_ptr<CxMidiSequence> sequence;
    try {
        sequence.reset(new CxMidiSequence);
        Header& header = sequence->header_;
        header.format = read16(pos);
        header.trackCount = read16(pos + 2);
        header.division = read16(pos + 4);
        pos += headerLength;
        left -= headerLength;

        // Every declared track needs at least its chunk head: refuse before reserving for them.
        if (left / kChunkHead < header.trackCount) return invalid();
        sequence->tracks_.reserve(header.trackCount);
        sequence->pending_.reserve(header.trackCount);
        sequence->unread_.reserve(header.trackCount);
        for (std::uint32_t index = 0; index < header.trackCount; ++index) {
            if (!startsChunk("MTrk")) return invalid();
            std::uint32_t trackLength = read32(pos + 4);
            pos += kChunkHead;
            left -= kChunkHead;
            if (trackLength > left) return invalid();
            sequence->tracks_.push_back(
                std::make_unique<CxMidiTrack>(pos, trackLength, index, sequence->channelEnabled_));
            pos += trackLength;
            left -= trackLength;
        }
        sequence->rewind();
    } catch (const std::bad_alloc&) {
        return {nullptr, CxMidiStatus::NoMemory};
    }
    return {std::move(sequence), CxMidiStatus::None};
}

CxMidiSequence::CxMidiSequence() {
    channelEnabled_.fill(1);
    kindEnabled_.fill(1);
}

CxMidiTrack* CxMidiSequence::track(std::size_t index) {
    return index < tracks_.size() ? tracks_[index].get() : nullptr;
}

void CxMidiSequence::setChannelEnabled(unsigned channel, bool enabled) {
    if (channel < channelEnabled_.size()) channelEnabled_[channel] = enabled ? 1 : 0;
}

void CxMidiSequence::setKindEnabled(unsigned kind, bool enabled) {
    if (kind < kindEnabled_.size()) kindEnabled_[kind] = enabled ? 1 : 0;
}

void CxMidiSequence::rewind() {
    pending_.clear();
    unread_.clear();
    unreadAt_ = 0;
    for (auto& track : tracks_) {
        track->rewind();
        unread_.push_back(track.get());
    }
    header_.tempo = Header{}.tempo;
    header_.timeSignature = Header{}.timeSignature;
    status_ = CxMidiStatus::None;
    lastTick_ = 0;
    lastDelivered_ = 0;
    elapsedMs_ = 0;
    elapsedUsRest_ = 0;
    tickRest_ = 0;
    atEnd_ = false;
}

// Elapsed time runs in exact microseconds: a tick lasts tempo/division microseconds with a
// metrical division, 1e6/(frames per second × ticks per frame) with an SMPTE one. Fractions of a
// microsecond and of a millisecond are carried, so long walks do not drift. A zero division has
// no time scale and leaves the clock standing.
void CxMidiSequence::advanceClock(std::uint64_t ticks) {
    std::uint64_t perUnit = 0;
    std::uint64_t unitsPerTickScale = 0;
    if (header_.division & 0x8000) {
        std::uint64_t framesPerSecond = 256 - (header_.division >> 8);
        perUnit = framesPerSecond * (header_.division & 0xFF);
        unitsPerTickScale = 1000000;
    } else {
        perUnit = header_.division;
        unitsPerTickScale = header_.tempo;
    }
    if (perUnit == 0 || ticks == 0) return;
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t whole = ticks / perUnit;
    std::uint64_t part = ticks % perUnit;
    if (whole > kMax / unitsPerTickScale) {
        elapsedMs_ = kMax;
        return;
    }
    tickRest_ += part * unitsPerTickScale;
    std::uint64_t micros = whole * unitsPerTickScale + tickRest_ / perUnit;
    tickRest_ %= perUnit;
    elapsedUsRest_ += micros % 1000;
    std::uint64_t millis = micros / 1000 + elapsedUsRest_ / 1000;
    elapsedUsRest_ %= 1000;
    elapsedMs_ = millis > kMax - elapsedMs_ ? kMax : elapsedMs_ + millis;
}

// Tempo and time signature change for every track at once, whether or not the event is delivered.
void CxMidiSequence::follow(const CxMidiEvent& event) {
    if (!event.isMeta()) return;
    if (event.data1 == kor::midi::kMetaTempo && event.length >= 3) {
        std::uint32_t tempo =
            std::uint32_t{event.data[0]} << 16 | event.data[1] << 8 | event.data[2];
        if (tempo != 0) header_.tempo = tempo;
    } else if (event.data1 == kor::midi::kMetaTimeSignature && event.length >= 2) {
        header_.timeSignature = static_cast<std::uint16_t>(event.data[0] << 8 | event.data[1]);
    }
}

namespace {

// Heap order of the merged walk: the later event sinks; on equal ticks the higher track index.
bool deliversLater(const CxMidiEvent& a, const CxMidiEvent& b) {
    return a.tick != b.tick ? a.tick > b.tick : a.track > b.track;
}

} // namespace

bool CxMidiSequence::next(CxMidiEvent& event) {
    auto later = [](const CxMidiTrack* a, const CxMidiTrack* b) {
        return deliversLater(a->current_, b->current_);
    };
    for (;;) {
        while (unreadAt_ < unread_.size()) {
            CxMidiTrack* track = unread_[unreadAt_++];
            if (track->state_ != 0) continue;
            const CxMidiStatus read = track->readEvent();
            if (read == CxMidiStatus::InvalidFile) {
                status_ = CxMidiStatus::InvalidFile;
                return false;
            }
            if (read != CxMidiStatus::None) continue;
            pending_.push_back(track);
            std::push_heap(pending_.begin(), pending_.end(), later);
        }
        unread_.clear();
        unreadAt_ = 0;
        if (pending_.empty()) {
            status_ = CxMidiStatus::EndOfFile;
            atEnd_ = true;
            return false;
        }

        std::pop_heap(pending_.begin(), pending_.end(), later);
        CxMidiTrack* earliest = pending_.back();
        pending_.pop_back();
        unread_.push_back(earliest);
        const CxMidiEvent& found = earliest->current_;
        advanceClock(found.tick - lastTick_);
        lastTick_ = found.tick;
        follow(found);

        bool channelOff = found.isChannelMessage() && channelEnabled_[found.channel()] == 0;
        if (channelOff || kindEnabled_[found.kind()] == 0) continue;
        event = found;
        event.delta = found.tick - lastDelivered_;
        lastDelivered_ = found.tick;
        status_ = CxMidiStatus::None;
        return true;
    }
}
