#include "builders/SmfBuilder.h"

namespace kor::test {

namespace {

void put32(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>(value >> shift));
}

void put16(std::string& out, unsigned value) {
    out.push_back(static_cast<char>(value >> 8));
    out.push_back(static_cast<char>(value));
}

bool twoDataBytes(unsigned status) {
    unsigned kind = status >> 4;
    return kind != 0xC && kind != 0xD;
}

} // namespace

std::string variableLength(std::uint32_t value) {
    std::string out(1, static_cast<char>(value & 0x7F));
    while (value >>= 7)
        out.insert(out.begin(), static_cast<char>(0x80 | (value & 0x7F)));
    return out;
}

void SmfTrackWriter::delta(std::uint32_t tick) {
    bytes_ += variableLength(tick - tick_);
    tick_ = tick;
}

SmfTrackWriter& SmfTrackWriter::message(std::uint32_t tick, unsigned status, unsigned data1,
                                        unsigned data2) {
    delta(tick);
    if (!runningStatus_ || status != lastStatus_) bytes_.push_back(static_cast<char>(status));
    lastStatus_ = status;
    bytes_.push_back(static_cast<char>(data1));
    if (twoDataBytes(status)) bytes_.push_back(static_cast<char>(data2));
    return *this;
}

SmfTrackWriter& SmfTrackWriter::noteOn(std::uint32_t tick, unsigned channel, unsigned key,
                                       unsigned velocity) {
    return message(tick, 0x90 | channel, key, velocity);
}

SmfTrackWriter& SmfTrackWriter::noteOff(std::uint32_t tick, unsigned channel, unsigned key) {
    return message(tick, 0x80 | channel, key, 0x40);
}

SmfTrackWriter& SmfTrackWriter::controller(std::uint32_t tick, unsigned channel, unsigned number,
                                           unsigned value) {
    return message(tick, 0xB0 | channel, number, value);
}

SmfTrackWriter& SmfTrackWriter::program(std::uint32_t tick, unsigned channel, unsigned program) {
    return message(tick, 0xC0 | channel, program);
}

SmfTrackWriter& SmfTrackWriter::meta(std::uint32_t tick, unsigned type, std::string_view data) {
    delta(tick);
    bytes_.push_back('\xFF');
    bytes_.push_back(static_cast<char>(type));
    bytes_ += variableLength(static_cast<std::uint32_t>(data.size()));
    bytes_ += data;
    lastStatus_ = 0;
    return *this;
}

SmfTrackWriter& SmfTrackWriter::tempo(std::uint32_t tick, std::uint32_t microsPerQuarter) {
    const char data[] = {static_cast<char>(microsPerQuarter >> 16),
                         static_cast<char>(microsPerQuarter >> 8),
                         static_cast<char>(microsPerQuarter)};
    return meta(tick, 0x51, std::string_view(data, 3));
}

SmfTrackWriter& SmfTrackWriter::timeSignature(std::uint32_t tick, unsigned numerator,
                                              unsigned denominatorExponent) {
    const char data[] = {static_cast<char>(numerator), static_cast<char>(denominatorExponent), 24,
                         8};
    return meta(tick, 0x58, std::string_view(data, 4));
}

SmfTrackWriter& SmfTrackWriter::sysEx(std::uint32_t tick, std::string_view data) {
    delta(tick);
    bytes_.push_back('\xF0');
    bytes_ += variableLength(static_cast<std::uint32_t>(data.size()));
    bytes_ += data;
    lastStatus_ = 0;
    return *this;
}

SmfTrackWriter& SmfTrackWriter::raw(std::string_view bytes) {
    bytes_ += bytes;
    return *this;
}

SmfTrackWriter& SmfTrackWriter::runningStatus(bool on) {
    runningStatus_ = on;
    return *this;
}

SmfTrackWriter& SmfTrackWriter::withoutEnd() {
    end_ = false;
    return *this;
}

std::string SmfTrackWriter::body() const {
    return end_ ? bytes_ + std::string("\x00\xFF\x2F\x00", 4) : bytes_;
}

SmfBuilder::SmfBuilder(unsigned format, unsigned division)
    : format_(format)
    , division_(division) {}

SmfTrackWriter& SmfBuilder::addTrack() {
    tracks_.push_back(std::make_unique<SmfTrackWriter>());
    return *tracks_.back();
}

SmfBuilder& SmfBuilder::declareTracks(unsigned count) {
    declared_ = static_cast<int>(count);
    return *this;
}

SmfBuilder& SmfBuilder::headerLength(std::uint32_t length) {
    headerLength_ = length;
    return *this;
}

SmfBuilder& SmfBuilder::preamble() {
    preamble_ = true;
    return *this;
}

std::string SmfBuilder::bytes() const {
    std::string out;
    if (preamble_) out.assign(128, '\x55');
    out += "MThd";
    put32(out, headerLength_);
    put16(out, format_);
    put16(out, declared_ >= 0 ? static_cast<unsigned>(declared_)
                              : static_cast<unsigned>(tracks_.size()));
    put16(out, division_);
    out.append(headerLength_ > 6 ? headerLength_ - 6 : 0, '\0');
    for (const auto& track : tracks_) {
        std::string body = track->body();
        out += "MTrk";
        put32(out, static_cast<std::uint32_t>(body.size()));
        out += body;
    }
    return out;
}

CxMidiSequence::ParseResult parseSmf(const std::string& bytes) {
    return CxMidiSequence::parse(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

} // namespace kor::test
