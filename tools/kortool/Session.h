// One manager for the tool's run: set up beside the library, loading any song or MIDI file.
#pragma once

#include <korman/korman.h>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace kortool {

/// A failure the library reported: its code and its own message; exit status 1.
class LibraryError : public std::runtime_error {
public:
    LibraryError(std::uint32_t code, const std::string& message)
        : std::runtime_error(message)
        , code_(code) {}
    std::uint32_t code() const { return code_; }

private:
    std::uint32_t code_;
};

/// How a legacy or MIDI file or a score is turned into a song.
struct ImportOptions {
    /// MIDI or score sources to import (track, channel or source indices); empty: all with notes
    std::vector<int> tracks;
    bool splitChannels = false; ///< import a single-track MIDI file channel by channel
    std::optional<std::pair<int, int>> singer; ///< (bank select, program change) for MIDI tracks
    std::optional<int> verse; ///< the lyric line of a score the notes sing; none: the first
    bool asWritten = false;   ///< a score's measures in written order, each once, not as performed
    int premeasure = 1;
    unsigned codePage = 3; ///< for the texts of legacy and MIDI files; 3 is the locale's
};

/// Why a MIDI or score import would bring in nothing, and the library's code for it.
struct EmptyImport {
    std::uint32_t code;
    std::string reason; ///< "no track has notes", ...
};

/// The readable name of a file format number ("KOR3", "MIDI format 1", ...).
std::string formatName(int format);
/// A code page as a person reads it: "code page 932", "code page 3 (the locale's)".
std::string describeCodePage(unsigned codePage);

class Session {
public:
    /// Initializes a manager whose schemas are looked for beside the library. Throws LibraryError.
    Session();

    CZRKorManagerIF& manager() { return manager_; }
    /// The format `path` holds (-1 when none the library reads).
    int detect(const std::string& path);
    /// Loads a KOR3, KOR4, legacy, MIDI or MusicXML file as the current song, of the format
    /// `detected` when the caller has detected it already (so that the file is not read for that
    /// again), else of the format detect() finds. A file detection refuses is still given to the
    /// reader its first bytes call for (XML, a zip archive, or a MIDI header), so that the error
    /// reports that reader's own code and message. After a legacy or MIDI load, warns on stderr
    /// when texts did not convert from the code page. Throws LibraryError.
    const IZRKorRoot& load(const std::string& path, const ImportOptions& options = {},
                           std::optional<int> detected = std::nullopt);
    /// What converting the legacy song file `path` with the code page of `options` would lose.
    /// Throws LibraryError.
    ZRLegacySongSurvey legacySurvey(const std::string& path, const ImportOptions& options);
    /// The import directives of a MIDI file, with the import switches and singers `options` ask
    /// for. Throws LibraryError.
    std::vector<ZRSMFTrackImportDirective> directives(const std::string& path,
                                                      const ImportOptions& options);
    /// The import directives of a MusicXML score, with the import switches, singers and verse
    /// `options` ask for. Throws LibraryError.
    std::vector<ZRMusicXMLPartImportDirective> scoreDirectives(const std::string& path,
                                                               const ImportOptions& options);
    /// Why importing `directives`, as directives() or scoreDirectives() made them for `options`,
    /// would bring in nothing; nullopt when at least one source is switched on.
    static std::optional<EmptyImport>
    nothingToImport(const std::vector<ZRSMFTrackImportDirective>& directives,
                    const ImportOptions& options);
    static std::optional<EmptyImport>
    nothingToImport(const std::vector<ZRMusicXMLPartImportDirective>& directives,
                    const ImportOptions& options);
    /// Saves the current song as a KOR3 file with its WAV parts folder. Throws LibraryError.
    void save(const std::string& path);
    /// Writes the loaded song as a MIDI file, with or without its pre-measures. Throws
    /// LibraryError.
    void exportMidi(const std::string& path, bool keepPreMeasure);
    /// The library's message for `code`.
    std::string message(std::uint32_t code) const;
    /// The file a WAV part plays, as the library resolves it; empty when it cannot.
    std::string wavFilePath(std::uint32_t wavPartID) const;

private:
    /// Throws the manager's last error with its detailed message, after `context` when given.
    [[noreturn]] void fail(const std::string& context = {}) const;
    /// Warns on stderr, when `failed` is not 0, that so many texts of the legacy or MIDI file
    /// `path` did not convert from `codePage`.
    static void warnOfUnconvertedTexts(const std::string& path, int failed, bool legacy,
                                       unsigned codePage);

    CZRKorManagerIF manager_;
};

} // namespace kortool
