#include "legacy/LegacyText.h"

#include "legacy/MidiSequence.h"
#include "legacy/TypedFile.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace {

bool isPiece(const CxMidiEvent& event) {
    return event.isMeta() && event.data1 == kor::midi::kMetaText && event.length >= 3 &&
           std::memcmp(event.data, "DM:", 3) == 0;
}

// 1 when the track has a "DM:" piece, 0 when it ends cleanly without one, -1 when malformed.
int trackHasText(CxMidiTrack& track) {
    track.rewind();
    CxMidiEvent event;
    while (track.next(event))
        if (isPiece(event)) return 1;
    return track.status() == CxMidiStatus::EndOfTrack ? 0 : -1;
}

// Piece numbers read like a C runtime integer: blanks, a sign, then digits up to anything else.
long long pieceNumber(const std::uint8_t* text, std::size_t length) {
    std::size_t i = 0;
    while (i < length && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = i < length && text[i] == '-';
    if (i < length && (text[i] == '-' || text[i] == '+')) ++i;
    long long number = 0;
    for (; i < length && text[i] >= '0' && text[i] <= '9'; ++i)
        if (number < std::numeric_limits<int>::max()) number = number * 10 + (text[i] - '0');
    return negative ? -number : number;
}

struct Piece {
    const std::uint8_t* bytes = nullptr;
    std::size_t length = 0;
    bool filled = false;
};

// The bytes after the colon that ends the piece number, or nullopt when the colon is not among the
// first 128 characters.
std::optional<std::size_t> pieceTextStart(const CxMidiEvent& event) {
    constexpr std::size_t kNumberWindow = 128;
    std::size_t end = std::min<std::size_t>(event.length, kNumberWindow);
    for (std::size_t i = 3; i < end; ++i)
        if (event.data[i] == ':') return i + 1;
    return std::nullopt;
}

enum class Joined { Ok, Corrupt, Malformed };

Joined joinPieces(CxMidiTrack& track, std::string& text, bool& anyPiece) {
    std::size_t count = 0;
    CxMidiEvent event;
    track.rewind();
    while (track.next(event))
        count += isPiece(event) ? 1 : 0;
    if (track.status() != CxMidiStatus::EndOfTrack) return Joined::Malformed;
    anyPiece = count > 0;

    std::vector<Piece> pieces(count);
    track.rewind();
    while (track.next(event)) {
        if (!isPiece(event)) continue;
        std::optional<std::size_t> start = pieceTextStart(event);
        if (!start) return Joined::Corrupt;
        long long number = pieceNumber(event.data + 3, *start - 4);
        if (number < 0 || static_cast<unsigned long long>(number) >= count ||
            pieces[static_cast<std::size_t>(number)].filled)
            return Joined::Corrupt;
        pieces[static_cast<std::size_t>(number)] = {event.data + *start, event.length - *start,
                                                    true};
    }

    std::size_t total = 0;
    for (const Piece& piece : pieces) {
        if (!piece.filled) return Joined::Corrupt;
        total += piece.length;
    }
    text.reserve(total);
    for (const Piece& piece : pieces)
        text.append(reinterpret_cast<const char*>(piece.bytes), piece.length);
    return Joined::Ok;
}

} // namespace

namespace kor {

int hasLegacyText(CxMidiSequence& sequence) {
    const std::size_t count = sequence.trackCount();
    if (sequence.header().format == 0 || count == 1)
        return count == 0 ? 0 : trackHasText(*sequence.track(0));
    if (count == 0) return 1;
    for (std::size_t index = 1; index < count; ++index) {
        int answer = trackHasText(*sequence.track(index));
        if (answer != 1) return answer;
    }
    return 1;
}

bool collectTrackText(CxMidiSequence& sequence, std::size_t trackIndex, CxTypedFile& file,
                      bool& hadText) {
    hadText = false;
    (void)file.parseText("", false); // leaves the document empty whatever happens below
    CxMidiTrack* track = sequence.track(trackIndex);
    if (track == nullptr) return false;
    std::string text;
    const Joined joined = joinPieces(*track, text, hadText);
    if (joined == Joined::Corrupt) file.setStatus(file.status() | kLegacyTextCorrupt);
    if (joined != Joined::Ok) return false;
    return file.parseText(text, false);
}

} // namespace kor
