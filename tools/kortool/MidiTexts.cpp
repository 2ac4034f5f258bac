#include "MidiTexts.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <string_view>

namespace kortool {

namespace {

constexpr std::uint8_t kMetaText = 0x01;
constexpr std::uint8_t kMetaTrackName = 0x03;
constexpr std::uint8_t kMetaInstrumentName = 0x04;
constexpr std::uint8_t kMetaLyric = 0x05;
constexpr std::uint8_t kMetaEndOfTrack = 0x2F;

// Reads a chunk's bytes front to back; any read past the end fails and stays failed.
class Cursor {
public:
    explicit Cursor(std::string_view bytes)
        : bytes_(bytes) {}

    bool ok() const { return ok_; }
    bool atEnd() const { return pos_ >= bytes_.size(); }

    std::uint8_t byte() {
        if (!take(1)) return 0;
        return static_cast<std::uint8_t>(bytes_[pos_ - 1]);
    }
    // The variable-length quantity of MIDI: seven bits a byte, at most four bytes.
    std::uint32_t variable() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const std::uint8_t b = byte();
            value = (value << 7) | (b & 0x7F);
            if ((b & 0x80) == 0) return value;
        }
        ok_ = false;
        return 0;
    }
    std::string_view bytes(std::size_t count) {
        if (!take(count)) return {};
        return bytes_.substr(pos_ - count, count);
    }
    // At most `count` bytes: all that are left when fewer are.
    std::string_view bytesUpTo(std::size_t count) {
        return bytes(std::min(count, bytes_.size() - std::min(pos_, bytes_.size())));
    }

private:
    bool take(std::size_t count) {
        if (!ok_ || count > bytes_.size() - pos_) {
            ok_ = false;
            return false;
        }
        pos_ += count;
        return true;
    }

    std::string_view bytes_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

std::uint32_t bigEndian(std::string_view four) {
    std::uint32_t value = 0;
    for (const char c : four)
        value = (value << 8) | static_cast<std::uint8_t>(c);
    return value;
}

// The data bytes that follow a channel message's status byte.
int dataBytes(std::uint8_t status) {
    const int kind = status >> 4;
    return kind == 0xC || kind == 0xD ? 1 : 2;
}

// The piece number of a "DM:nnnn:" text and the text after its second colon; nullopt for text
// that is no piece or whose number does not read.
std::optional<std::pair<unsigned long, std::string_view>> legacyPiece(std::string_view text) {
    if (text.substr(0, 3) != "DM:") return std::nullopt;
    const std::size_t colon = text.find(':', 3);
    if (colon == std::string_view::npos || colon == 3) return std::nullopt;
    unsigned long number = 0;
    for (const char c : text.substr(3, colon - 3)) {
        if (c < '0' || c > '9' || number > 1'000'000) return std::nullopt;
        number = number * 10 + static_cast<unsigned long>(c - '0');
    }
    return std::make_pair(number, text.substr(colon + 1));
}

void readTrack(std::string_view chunk, MidiTexts& texts) {
    Cursor in(chunk);
    std::map<unsigned long, std::string_view> pieces;
    std::uint8_t runningStatus = 0;
    while (!in.atEnd()) {
        in.variable(); // delta time
        std::uint8_t status = in.byte();
        if (!in.ok()) break;
        if (status < 0x80) {
            // Running status: this byte is the first data byte of a repeated channel message.
            if (runningStatus == 0) break;
            in.bytes(dataBytes(runningStatus) - 1);
            continue;
        }
        if (status < 0xF0) {
            runningStatus = status;
            in.bytes(dataBytes(status));
            continue;
        }
        runningStatus = 0;
        if (status == 0xF0 || status == 0xF7) {
            in.bytes(in.variable());
            continue;
        }
        if (status != 0xFF) break;
        const std::uint8_t type = in.byte();
        const std::string_view data = in.bytes(in.variable());
        if (!in.ok() || type == kMetaEndOfTrack) break;
        if (type == kMetaTrackName || type == kMetaInstrumentName)
            texts.names.emplace_back(data);
        else if (type == kMetaLyric)
            texts.lyrics.emplace_back(data);
        else if (type == kMetaText)
            if (const auto piece = legacyPiece(data)) pieces.emplace(piece->first, piece->second);
    }
    if (pieces.empty()) return;
    std::string joined;
    for (const auto& [number, text] : pieces)
        joined += text;
    texts.legacyTexts.push_back(std::move(joined));
}

} // namespace

std::optional<MidiTexts> readMidiTexts(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open()) return std::nullopt;
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    Cursor in(bytes);
    if (in.bytes(4) != "MThd") return std::nullopt;
    in.bytes(bigEndian(in.bytes(4)));
    if (!in.ok()) return std::nullopt;
    MidiTexts texts;
    while (!in.atEnd()) {
        const std::string_view id = in.bytes(4);
        const std::uint32_t length = bigEndian(in.bytes(4));
        if (!in.ok()) break;
        // A chunk cut off by the end of the file still gives the events it holds.
        const std::string_view chunk = in.bytesUpTo(length);
        if (id == "MTrk") readTrack(chunk, texts);
    }
    return texts;
}

} // namespace kortool
