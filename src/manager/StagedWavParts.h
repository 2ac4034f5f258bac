// The WAV part files a save carries to the song's new place, staged so that they go in place
// together with the song file.
#pragma once

#include "platform/AtomicFile.h"
#include "platform/FileFailure.h"
#include "platform/HeldFiles.h"
#include "platform/SaveTemp.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class CZRKorDocument;

namespace kor {

/// The changes a save makes to the WAV parts folder of the song's new path, held back until the
/// song file goes in place. stage() leaves every existing file as it is: each copy is written to
/// a temporary file in the folder, a plain file where the folder belongs is moved aside and the
/// folder made when missing. files() are then put in place before the song file (see
/// commitTogether), and finish() completes the save. Destroying the object before finish()
/// takes the folder back: the temporary files are removed, a folder made for them too, and the
/// plain file returns. The caller holds the lock of the folder the parts folder lies in from
/// stage() to finish(), so that another save of the same path cannot change the parts folder in
/// between. Not copyable.
///
/// The parts folder is the saving user's own: a folder, or a file of the folder's name, that
/// belongs to another user is refused, and so is a file of another user at a part's name in it;
/// a song without WAV parts leaves such a folder where it is. A symbolic link in the folder is
/// never followed: a copy replaces the link itself.
class StagedWavParts {
public:
    StagedWavParts() = default;
    ~StagedWavParts();
    StagedWavParts(const StagedWavParts&) = delete;
    StagedWavParts& operator=(const StagedWavParts&) = delete;

    /// Stages the files of the document's WAV parts that live in the parts folder of `oldBase`
    /// as files of the parts folder of `newPath`. Each is copied from the parts folder of
    /// `oldBase`, or, when it is no longer there, from the file the document holds for it
    /// (wavSources). A file whose source and target are the same stays, but must be there or be
    /// held. False when a file is missing and not held or cannot be read, the folder or a file
    /// in it belongs to another user, or the folder or a copy cannot be made; failure() then
    /// says which and why.
    [[nodiscard]] bool stage(const CZRKorDocument& document, const std::wstring& oldBase,
                             const std::wstring& newPath);
    /// Why stage() failed.
    const platform::FileFailure& failure() const { return failure_; }
    /// The staged copies, to be put in place before the song file.
    std::vector<platform::AtomicFile*> files() const;
    /// Completes a save whose files are all in place: without WAV parts in the folder, the
    /// folder (or a file of its name) is removed now that the song file no longer needs it; a
    /// plain file moved aside is removed. Gives the files of the song's WAV parts in the folder
    /// held open, for the document to keep in place of those it held.
    [[nodiscard]] platform::HeldFiles finish();

private:
    std::wstring folder_;
    std::filesystem::path nativeFolder_;
    bool removeFolder_ = false;
    bool createdFolder_ = false;
    bool finished_ = false;
    platform::SaveTemp displaced_;
    platform::FileFailure failure_;
    std::vector<std::wstring> targets_;
    platform::HeldFiles sources_;
    std::vector<std::unique_ptr<platform::AtomicFile>> copies_;
};

} // namespace kor
