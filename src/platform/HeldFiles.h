// Files held open for reading, so that their content stays readable after their names go.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kor::platform {

/// Read-only descriptors of the regular files of one folder, each held under its file name. A
/// file held here can still be read when another process removes or replaces its name: its
/// content is the one the name led to when openIn() opened it. Names are added first (which may
/// allocate) and opened later (which does not), so that holding the files of a step that has
/// just succeeded cannot fail it. At most kMostHeld files are held, so that a folder of many
/// files cannot use up the descriptors the process has; the names past that hold nothing. Owns
/// its descriptors; movable, not copyable.
class HeldFiles {
public:
    static constexpr std::size_t kMostHeld = 256;

    HeldFiles() = default;
    ~HeldFiles();
    HeldFiles(HeldFiles&& other) noexcept;
    HeldFiles& operator=(HeldFiles&& other) noexcept;
    HeldFiles(const HeldFiles&) = delete;
    HeldFiles& operator=(const HeldFiles&) = delete;

    /// Adds the file name `name` (no folder part), holding nothing until openIn(); a name added
    /// before is not added twice. May throw std::bad_alloc.
    void add(std::string name);
    /// Opens the file of every name added in `folder` (of the first kMostHeld), without
    /// following a link at the name; a name whose entry is missing, a link or no regular file
    /// holds nothing. Allocates nothing.
    void openIn(const std::filesystem::path& folder) noexcept;
    /// The descriptor held for `name`, or -1 when none is.
    int find(std::string_view name) const;

private:
    struct Held {
        std::string name;
        int fd = -1;
    };
    void closeAll() noexcept;

    std::vector<Held> files_;
};

} // namespace kor::platform
