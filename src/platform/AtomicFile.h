// Files written in full beside their targets and put in place only when complete, alone or
// several together.
#pragma once

#include "platform/FileFailure.h"
#include "platform/SaveTemp.h"

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace kor::platform {

/// How an atomic file operation ended.
enum class AtomicWriteResult {
    Done,        ///< the step succeeded
    CannotOpen,  ///< nothing could be created beside the target, or the target is a folder or
                 ///< read-only; nothing changed
    CannotWrite, ///< the bytes could not be written or put in place; nothing changed
};

/// What open() does with a symbolic link at the path it is given.
enum class LinkUse {
    /// Follow it to the file it names, hop by hop, where the kernel would follow it for another
    /// program (fs.protected_symlinks): a link in a folder that is sticky and writable by
    /// everyone only when it belongs to the saving user or to the folder's owner. Another
    /// link there could have been planted by anyone to aim the save at a file of the saver's;
    /// open() refuses it, naming the link.
    FollowAsTheKernel,
    /// Never follow it: the new file replaces the link itself.
    Replace,
};

/// The new content of the file at a path. open() finds the target (a symbolic link at the path
/// is followed or replaced as LinkUse says; a followed link stays a link), removes what killed
/// saves of the same user left in the target's folder (SaveTemp::removeStale) and creates the
/// temporary file there, on the target's file system; write() and copyFrom() fill it; commit() or
/// commitTogether() flush it to the disk and rename it over the target. An existing file is
/// therefore either replaced whole or left exactly as it was. Destroying a file that was not put
/// in place removes its temporary file. The first step that fails is kept in failure(), for the
/// message that tells the user why the save failed.
///
/// The new file takes the permission bits, the owner and the group of the regular file it
/// replaces. Where the saving user may not give it that owner and group (only the superuser may
/// give a file away), it keeps the saver's own and loses the set-user-ID and set-group-ID bits,
/// so that a file saved by someone else never runs with the saver's rights. A replaced link
/// passes nothing on. Since the new content is a new file under the old name, other hard links
/// of the old file keep naming the old content.
class AtomicFile {
public:
    AtomicFile() = default;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    /// Creates the temporary file for `path`: Done or CannotOpen.
    [[nodiscard]] AtomicWriteResult open(const std::wstring& path,
                                         LinkUse links = LinkUse::FollowAsTheKernel);
    /// Appends `bytes` to the temporary file; false when they could not be written, after which
    /// commit fails too.
    bool write(std::string_view bytes);
    /// Appends the content of the file at `source`; false, as for write(), when it cannot be read
    /// or written.
    bool copyFrom(const std::wstring& source);
    /// Appends the whole content of the regular file open as `source`, read from its start (the
    /// descriptor stays the caller's); false, as for write(), when it cannot be read or written.
    bool copyFrom(int source);
    /// Puts the file in place alone: Done, or CannotWrite when open or a write failed, or the
    /// file cannot be completed or put in place.
    [[nodiscard]] AtomicWriteResult commit();
    /// Why open, a write, a copy or putting the file in place failed: the target (as open was
    /// given it) or the source of a copy, the system's reason and a hint; nothing failed yet
    /// otherwise.
    const FileFailure& failure() const { return failure_; }

private:
    friend std::size_t commitTogether(std::span<AtomicFile* const> files);

    bool complete();
    bool keepPrevious();
    bool putInPlace();
    void takeBack();
    /// Notes that the step saving the target failed with `error` (a step in its folder when
    /// `inFolder`), unless an earlier step failed already.
    void fail(int error, bool inFolder);

    std::wstring named_;
    FileFailure failure_;
    std::filesystem::path target_;
    std::filesystem::path folder_;
    SaveTemp temp_;
    SaveTemp previous_;
    bool failed_ = false;
};

/// Puts several files in place, all of them or none. First each file is completed (flushed to
/// the disk) and the content each target but the last had is kept under a second name in its
/// folder; only then are the files renamed over their targets in their order. Should a rename
/// fail, the files renamed before it are taken back in reverse: each kept content returns to its
/// name, a target that did not exist is removed again. A caller that lists last the file whose
/// new content refers to the others (a song after its audio files) thus never shows it with a
/// target of the old set. Once all are in place their folders are synced (a folder that cannot
/// be synced is left to the system's write-back) and the kept contents removed.
/// Returns files.size() on success, else the index of the file that failed; nothing has changed
/// then. Only a second failure, of a rename that takes a kept content back inside its own folder,
/// can leave a target with its new content; its previous content stays in the kept file, which
/// the next save in that folder removes.
[[nodiscard]] std::size_t commitTogether(std::span<AtomicFile* const> files);

} // namespace kor::platform
