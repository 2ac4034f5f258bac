// The song a format detection read, kept for the load of the same file that follows it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class CZRKorDocument;

namespace kor {

/// The song the last format detection of a manager read from a KOR3 or KOR4 file, owned until
/// the load or import of that file that follows takes it, so that a host which detects and then
/// loads a song pays one reading. The song stands for the file while the file keeps the path,
/// device, inode, size and modification time it had before it was read. Holds one song at a time.
class KeptSong {
public:
    /// Where and as what a file stands: what tells that it has not changed.
    struct Stamp {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::int64_t size = 0;
        std::int64_t modifiedSeconds = 0;
        std::int64_t modifiedNanoseconds = 0;
        bool operator==(const Stamp&) const = default;
    };

    KeptSong();
    ~KeptSong();
    KeptSong(const KeptSong&) = delete;
    KeptSong& operator=(const KeptSong&) = delete;

    /// The stamp of the file at `path`; none when it cannot be told.
    static std::optional<Stamp> stampOf(const std::wstring& path);

    /// Keeps `song`, read from `path` when the file had `stamp`, in place of any other.
    void keep(std::wstring path, const Stamp& stamp, std::unique_ptr<CZRKorDocument> song) noexcept;
    /// Hands over the song kept for `path` when the file still has the stamp it had then, else
    /// null; either way nothing stays kept.
    [[nodiscard]] std::unique_ptr<CZRKorDocument> take(const std::wstring& path);

private:
    std::wstring path_;
    Stamp stamp_;
    std::unique_ptr<CZRKorDocument> song_;
};

} // namespace kor
