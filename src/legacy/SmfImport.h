// Offering the tracks (or channels) of a plain MIDI file for import, and importing the chosen ones.
#pragma once

#include "legacy/SongConverter.h"

#include <korman/ZRFileFormat.h>

#include <cstdint>
#include <string>
#include <vector>

class CZRKorDocument;

/// Imports plain MIDI files (ones without legacy song text) in two steps: survey() describes each
/// source (a track, or a channel of a single-track file split by channel) as an import directive;
/// the host switches sources on or off and picks their singers; importFile() builds a new song
/// from the sources switched on, one singing track with one musical part each.
///
class CxSmfImporter final : public CxSongConverter {
public:
    /// Most sources a file offers.
    static constexpr std::size_t kMaxSources = 32;

    using CxSongConverter::CxSongConverter;

    /// Replaces `directives` by one per source of the MIDI file at `path`: 16 (one per channel)
    /// for a format 0 file when `channelSplit` is set, else one per track, at most kMaxSources.
    /// Names are converted from `codePage`. A source that does not read to a clean end is offered
    /// switched off. Returns 0, ZR_E_FILE_NOT_FOUND, or ZR_E_INVALID_SMF for a file that is not a
    /// MIDI file or is a legacy song file (`directives` is then empty).
    [[nodiscard]] std::uint32_t survey(const std::wstring& path, unsigned codePage,
                                       bool channelSplit,
                                       std::vector<ZRSMFTrackImportDirective>& directives);

    /// Reads the sources of `directives` that are switched on into `target`, which must hold no
    /// song yet, with `preMeasure` measures (1 to 8) in front. Returns 0, or
    /// ZR_E_FILE_NOT_FOUND, ZR_E_INVALID_PARAMETER (a pre-measure out of range, directives that do
    /// not fit the file, or a target that holds a song), ZR_E_INVALID_KOR_FILE (not a MIDI file,
    /// or a legacy song file), ZR_E_INVALID_SMF (a chosen source is malformed, or the song cannot
    /// be shifted), ZR_E_NOT_ENOUGH_MEMORY, or the code of an object the finished song fails
    /// verification on (message() then shows where). On failure `target` is left empty.
    [[nodiscard]] std::uint32_t importFile(const std::wstring& path, std::int32_t preMeasure,
                                           bool channelSplit,
                                           const std::vector<ZRSMFTrackImportDirective>& directives,
                                           CZRKorDocument& target);

    /// After an import: the file's kind, ZR_FILE_FORMAT_SMF0 for a format 0 file, else
    /// ZR_FILE_FORMAT_SMF1.
    ZRFileFormat fileFormat() const { return fileFormat_; }

private:
    ZRFileFormat fileFormat_ = ZR_FILE_FORMAT_SMF1;
};

namespace kor {

/// What kind of MIDI file stands at `path`: ZR_FILE_FORMAT_LEGACY3 for a legacy song file whose
/// first singing track gives a version above 201, ZR_FILE_FORMAT_LEGACY2 for another legacy song
/// file of more than one track, ZR_FILE_FORMAT_SMF0 or ZR_FILE_FORMAT_SMF1 for a plain MIDI file
/// of format 0 or higher, ZR_FILE_FORMAT_UNKNOWN for anything else.
ZRFileFormat midiFileFormat(const std::wstring& path);

} // namespace kor
