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

/// Why a host's directive set does not fit a file of `sources` sources, or "" when it fits: at
/// least one source and at most as many as a song has tracks are switched on (switches 0 or 1),
/// each once, each offered by the file, each with a singer of a valid key and each passing
/// `fits`, which answers its own reason ("" when the directive passes).
template <class Directive, class Fits>
std::wstring directivesMisfit(const std::vector<Directive>& directives, std::size_t sources,
                              Fits fits) {
    std::set<int> chosen;
    const auto isKey = [](int value) { return value >= 0 && value <= CZRVVoice::kMaxProgram; };
    for (const Directive& directive : directives) {
        const std::wstring which =
            L"the directive of source " + std::to_wstring(directive.sourceIndex) + L": ";
        if (directive.importSwitch != 0 && directive.importSwitch != 1)
            return which + L"its switch " + std::to_wstring(directive.importSwitch) +
                   L" is neither 0 nor 1";
        if (directive.sourceIndex < 0 || static_cast<std::size_t>(directive.sourceIndex) >= sources)
            return which + L"the file offers " + std::to_wstring(sources) +
                   (sources == 1 ? L" source" : L" sources") + L", numbered from 0";
        if (directive.importSwitch == 0) continue;
        if (!isKey(directive.singerBS) || !isKey(directive.singerPC))
            return which + L"the singer " + std::to_wstring(directive.singerBS) + L":" +
                   std::to_wstring(directive.singerPC) + L" is outside 0:0 to 127:127";
        if (std::wstring reason = fits(directive); !reason.empty()) return which + reason;
        if (!chosen.insert(directive.sourceIndex).second) return which + L"it is switched on twice";
    }
    if (chosen.empty()) return L"no source is switched on";
    if (chosen.size() > CZRSequence::kMaxTracks)
        return std::to_wstring(chosen.size()) + L" sources are switched on; a song holds " +
               std::to_wstring(CZRSequence::kMaxTracks) + L" tracks";
    return {};
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
