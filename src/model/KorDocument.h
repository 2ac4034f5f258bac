// One song document: the object table that owns every object of the song, and its root.
#pragma once

#include "model/ObjectTable.h"
#include "platform/HeldFiles.h"

#include <korman/ZRVVoice.h>

#include <cstdint>
#include <string>
#include <vector>

class CZRKorRoot;

/// A song as the manager holds it (the current sequence, or the content of the import buffer) and
/// as readers build it: the object table owning every object, the root object registered in it,
/// the file the song was loaded from or saved to, its file in the temporary folder, the kind of
/// file it was read from, the WAV parts whose audio files could not be found when it was loaded,
/// the files of the others held open, and the VVoices and singers that loading moved to other
/// keys.
class CZRKorDocument {
public:
    CZRKorDocument() = default;
    CZRKorDocument(const CZRKorDocument&) = delete;
    CZRKorDocument& operator=(const CZRKorDocument&) = delete;

    CZRObjectTable& objects() { return objects_; }
    const CZRObjectTable& objects() const { return objects_; }
    /// The context that creates objects in this document, with IDs from its own counter.
    ZRCreateContext context() { return {objects_, objects_}; }

    /// The root (borrowed from the table), null until a reader or a builder made it.
    CZRKorRoot* root() const { return root_; }
    void setRoot(CZRKorRoot* root) { root_ = root; }

    std::wstring filePath;
    std::wstring tempFilePath;
    /// The kind of file the song was read from (a ZRFileFormat value); -1 for a new song.
    std::int32_t format = -1;
    /// IDs of WAV parts whose audio file was missing or unreadable at load time.
    std::vector<std::uint32_t> danglingWavParts;
    /// The files of the WAV parts in the song's parts folder, held open since the song was
    /// loaded or last saved, so that a save still finds their content when another program has
    /// removed them from the folder in between.
    kor::platform::HeldFiles wavSources;
    std::vector<ZRVVoiceConvertInfo> vvoiceConversions;
    std::vector<ZRSingerConvertInfo> singerConversions;

private:
    CZRObjectTable objects_;
    CZRKorRoot* root_ = nullptr;
};
