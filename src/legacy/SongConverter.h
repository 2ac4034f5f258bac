// The ground the converters share that build a new song from a MIDI file.
#pragma once

#include "model/Builders.h"
#include "model/Sequence.h"
#include "model/VVoice.h"

#include <korman/ZRVVoice.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

class CZRKorDocument;
class CZRMusicalPart;
class CZRSequence;

namespace kor {

/// A note an import reads from its source, at the song's tick.
struct SourceNote {
    std::int32_t tick;
    std::int32_t length;
    std::int32_t key;
    std::int32_t velocity;
    std::wstring lyric; ///< empty: the note sings "a"
};

/// Whether a host's directive set fits a file of `sources` sources: at least one source and at
/// most as many as a song has tracks are switched on (switches 0 or 1), each once, each offered
/// by the file, each with a singer of a valid key and each passing `fits`.
template <class Directive, class Fits>
bool directivesFit(const std::vector<Directive>& directives, std::size_t sources, Fits fits) {
    std::set<int> chosen;
    const auto isKey = [](int value) { return value >= 0 && value <= CZRVVoice::kMaxProgram; };
    for (const Directive& directive : directives) {
        if (directive.importSwitch != 0 && directive.importSwitch != 1) return false;
        if (directive.sourceIndex < 0 || static_cast<std::size_t>(directive.sourceIndex) >= sources)
            return false;
        if (directive.importSwitch == 0) continue;
        if (!isKey(directive.singerBS) || !isKey(directive.singerPC) || !fits(directive) ||
            !chosen.insert(directive.sourceIndex).second)
            return false;
    }
    return !chosen.empty() && chosen.size() <= CZRSequence::kMaxTracks;
}

} // namespace kor

/// Base of the converters that read a file into a new song document. Holds the voices the song's
/// VVoices and its parts' first singers come from (borrowed; they must outlive the converter),
/// and the status and message of the last conversion.
class CxSongConverter {
public:
    /// Status values of the last conversion.
    static constexpr int kStatusInvalid = 1;
    static constexpr int kStatusNoMemory = 2;
    static constexpr int kStatusNotFound = 3;

    CxSongConverter(const kor::VVoiceTable& voices, const ZRVVoiceLib& defaultVoice)
        : voices_(voices)
        , defaultVoice_(defaultVoice) {}
    CxSongConverter(const CxSongConverter&) = delete;
    CxSongConverter& operator=(const CxSongConverter&) = delete;

    /// 0 after success, else one of the status values (with the converter's own bits added).
    int status() const { return status_; }
    /// What went wrong last; empty unless verification failed.
    const std::wstring& message() const { return message_; }

protected:
    ~CxSongConverter() = default;

    /// Starts a conversion of `path` into `target`: clears status and message. 0, or
    /// ZR_E_FILE_NOT_FOUND (status kStatusNotFound) when `path` names no plain file, or
    /// ZR_E_INVALID_PARAMETER when `target` holds a song already.
    [[nodiscard]] std::uint32_t begin(const std::wstring& path, const CZRKorDocument& target);
    /// Adds `status` to the status, empties `target` and gives `code`.
    std::uint32_t fail(int status, std::uint32_t code, CZRKorDocument& target);
    /// Builds the root and an empty sequence in `target`; null when an object cannot be made.
    CZRSequence* startSong(CZRKorDocument& target);
    /// Gives `sequence` one VVoice per voice of the voice table, as a new song has. False when
    /// one cannot be created or linked.
    [[nodiscard]] bool addLibraryVoices(CZRSequence& sequence, const ZRCreateContext& context);
    /// Adds the singing track `trackNo` called `name`, holding one musical part that spans
    /// `notes` (sorted by tick; at least kMinPlayTime long, and empty at the song's start
    /// without notes), starts with the singer (`singerBS`, `singerPC`) and sings the notes with
    /// the phoneme "a". The part, or null when an object cannot be made or linked.
    CZRMusicalPart* addSourceTrack(const ZRCreateContext& context, CZRSequence& sequence,
                                   std::int32_t trackNo, const std::wstring& name, int singerBS,
                                   int singerPC, const std::vector<kor::SourceNote>& notes);
    /// The file name of `path` without folder and extension.
    static std::wstring fileTitle(const std::wstring& path);

    const kor::VVoiceTable& voices_;
    const ZRVVoiceLib& defaultVoice_;
    int status_ = 0;
    std::wstring message_;
};

namespace kor {

/// Whether `path` names a plain file (not a folder).
bool isPlainFile(const std::wstring& path);

} // namespace kor
