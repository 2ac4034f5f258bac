// Building the default song a host starts from.
#pragma once

#include "model/Builders.h"
#include "model/KorDocument.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kor {

/// What a new song looks like beyond the empty sequence.
struct NewSongSettings {
    const wchar_t* name = nullptr;    ///< the master track's song name; kept when null
    const wchar_t* comment = nullptr; ///< the master track's comment; kept when null
    std::int32_t preMeasure = 1;      ///< 1 to 8
};

/// The first musical part of a new song.
struct FirstPartSettings {
    const wchar_t* name = nullptr;
    const wchar_t* comment = nullptr;
    std::int32_t playTime = 0;
    /// The voice it starts with; the default voice when not given.
    std::optional<std::pair<int, int>> singer;
};

/// A new document holding the default song: a root and an empty sequence with the song name,
/// comment and pre-measures of `song`, a 4/4 time signature at measure 0, 120 beats per minute
/// at tick 0, one ZR track "Track" with its ZR unit, and one VVoice per entry of `vvoices`.
/// Its temporary file path is a fresh "Kor....korx" name in `tempFolder`. Null on failure, with
/// `error` ZR_E_CANNOT_CREATE_TEMPORARY_FOLDER when no name can be made there, else
/// ZR_E_NOT_ENOUGH_MEMORY.
std::unique_ptr<CZRKorDocument> buildNewDocument(const NewSongSettings& song,
                                                 const VVoiceTable& vvoices,
                                                 const std::wstring& tempFolder,
                                                 std::uint32_t& error);

/// Adds to the first ZR track of `document` the musical part `first`, starting at the end of the
/// pre-measures. False on failure, leaving the part out.
[[nodiscard]] bool addFirstMusicalPart(CZRKorDocument& document, const FirstPartSettings& first,
                                       const VVoiceTable& vvoices, const ZRVVoiceLib& defaultVoice);

} // namespace kor
