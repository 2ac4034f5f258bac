// Turning a legacy song file into a new song document.
#pragma once

#include "legacy/SongConverter.h"

#include <korman/ZRFileFormat.h>

#include <cstdint>
#include <string>

class CZRKorDocument;

/// Converts legacy song files: a MIDI file whose conductor track holds the tempo map and whose
/// singing tracks carry their notes, singers, curves and mixer settings as embedded text.
///
/// The voice table and the default voice are the ones a new musical part draws its first singer
/// from; both are borrowed and must outlive the converter.
class CxLegacyConverter final : public CxSongConverter {
public:
    /// Added to the status when a track's embedded text is corrupt.
    static constexpr int kStatusCorruptText = 8;

    using CxSongConverter::CxSongConverter;

    /// Reads the legacy file at `path` into `target`, which must hold no song yet. Texts are
    /// turned into wide characters with `codePage`; files of version 201 and older get
    /// `preMeasure` measures in front, newer ones keep their own count. Returns 0, or
    /// ZR_E_FILE_NOT_FOUND, ZR_E_INVALID_PARAMETER (a target that already holds a song),
    /// ZR_E_INVALID_KOR_FILE, ZR_E_NOT_ENOUGH_MEMORY or the code of an object the finished song
    /// fails verification on (message() then shows where). On failure `target` is left empty.
    [[nodiscard]] std::uint32_t convert(const std::wstring& path, unsigned codePage,
                                        std::int32_t preMeasure, CZRKorDocument& target);

    /// The file format the converted file had: 3 for versions above 201, else 2.
    int legacyLevel() const { return legacyLevel_; }

private:
    int legacyLevel_ = 0;
};

namespace kor {

/// Surveys the legacy song file at `path` as CxLegacyConverter::convert() reads it with
/// `codePage`: counts the lines of the singing tracks' text it takes that the code page cannot
/// convert. A track whose text is corrupt adds nothing (its conversion fails). Returns 0, or
/// ZR_E_FILE_NOT_FOUND, ZR_E_INVALID_KOR_FILE (not a MIDI file, or one without legacy song
/// text) or ZR_E_NOT_ENOUGH_MEMORY; `survey` then holds only the code page.
[[nodiscard]] std::uint32_t surveyLegacySong(const std::wstring& path, unsigned codePage,
                                             ZRLegacySongSurvey& survey);

/// Runs the repair walk over the song of `document`. 0 when every object passed, else the code
/// of the first object that could not be repaired, with `message` set to "Verify error : " and
/// the dump of that object's list, the failing object framed by "\nERROR >>>>> " and
/// " <<<<< ERROR\n".
std::uint32_t verifySong(CZRKorDocument& document, std::wstring& message);

} // namespace kor
