// The KOR3 writer: a song as the library's own XML document.
#pragma once

#include "formats/xml/XmlOutput.h"
#include "model/ContainerOps.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kor::platform {
class AtomicFile;
}

class CZRKorRoot;
class CZRMusicalPart;
class CZRNodeList;
class CZRProsodyPart;
class CZRSequence;
class CZRVstPlugin;
class CZRWAVTrack;

namespace Kor3 {

/// Lays a sequence out as a KOR3 document in a borrowed output: the header, then one element per
/// object in the order the format fixes, each indented by its nesting, the texts cut to
/// their maxima. Only the VVoices that a singer of a musical part uses are written (the first of
/// the table when no singer names one). Controls and style controls of a part are gathered over
/// its lists and written in position order. The sequence is only read; missing optional objects
/// (a part without style plug-in or part style, a note without styles) are written as empty
/// elements, so the document always meets the schema.
class CZRKor3Writer {
public:
    explicit CZRKor3Writer(CZRXmlOutput& out)
        : out_(out) {}
    CZRKor3Writer(const CZRKor3Writer&) = delete;
    CZRKor3Writer& operator=(const CZRKor3Writer&) = delete;

    /// Writes the whole document of `sequence`.
    void writeSequence(const CZRSequence& sequence);

private:
    /// One timed named value of a part, gathered from its control or style lists.
    struct Record {
        std::int32_t pos;
        std::wstring_view id;
        std::int32_t value;
    };

    void writeVVoiceTable(const CZRSequence& sequence);
    void writeMixer(const CZRSequence& sequence);
    void writePlugins(const CZRNodeList* list, std::string_view name);
    void writePlugin(const CZRVstPlugin& plugin, std::string_view name);
    void writeMasterTrack(const CZRSequence& sequence);
    void writeMusicalPart(const CZRMusicalPart& part);
    void writeNotes(const CZRMusicalPart& part);
    void writeProsodyPart(const CZRProsodyPart& part);
    void writeWAVTrack(const CZRWAVTrack* track, std::string_view name);
    /// Gathers the controls of the seven control lists of a part, each under its kind's name.
    template <class Control, class Part> void gatherControls(const Part& part);
    /// Gathers the events of a part's named style lists, each under its list's name.
    void gatherStyleEvents(const kor::ListMap& lists);
    /// Sorts the gathered records by position and writes one element `name` per record.
    void writeRecords(std::string_view name, std::string_view posName);

    CZRXmlOutput& out_;
    std::vector<Record> records_;
    std::wstring phonemes_;
};

/// Writes the song under `root` (borrowed) as a KOR3 file into `file`, opened for `path`, without
/// putting it in place: the caller commits it, alone or together with other files. The tree is
/// validated first (nothing is repaired) before the file system is touched. Returns 0 or:
/// ZR_E_INVALID_FILE_NAME for an empty path, ZR_E_INVALID_KOR3_FILE without a root, the code of
/// the first object that fails validation, ZR_E_CANNOT_OPEN_FILE when no file can be created
/// beside `path` (beside the file it links to, for a symbolic link) or `path` is a folder or
/// read-only, ZR_E_CANNOT_SAVE_FILE when the bytes cannot be written, ZR_E_NOT_ENOUGH_MEMORY. A
/// character the format cannot carry is written as U+FFFD.
[[nodiscard]] std::uint32_t stageKor3File(const CZRKorRoot* root, const std::wstring& path,
                                          kor::platform::AtomicFile& file);

/// Saves the song under `root` (borrowed) as a KOR3 file at `path`: stageKor3File(), then the
/// file is renamed over `path` once complete, so an existing file is replaced whole or not at
/// all. Returns 0 or the codes of stageKor3File(); ZR_E_CANNOT_SAVE_FILE also when the file
/// cannot be put in place.
[[nodiscard]] std::uint32_t saveKor3File(const CZRKorRoot* root, const std::wstring& path);

} // namespace Kor3
