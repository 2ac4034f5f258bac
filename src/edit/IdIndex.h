// A position filed under each object ID of a document, for an edit session's indexes.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

namespace kor {

/// A position (a record's place among the pending ones) filed under object IDs. A document hands
/// out its IDs densely, so the positions sit in pages of slots indexed by ID, made as IDs in
/// their range are first filed: finding or filing an ID is two indexed reads, the memory grows
/// with the IDs an edit touches, not with the song, and the IDs of one part's notes, made one
/// after the other, share their pages. A hash map would allocate a node per ID and spread them
/// over the heap, which a select-all edit of a long part pays for in cache misses.
class IdIndex {
public:
    static constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();

    /// The position filed under `objID`, or kNone.
    std::uint32_t find(std::uint32_t objID) const noexcept {
        const std::size_t page = objID >> kPageBits;
        if (page >= pages_.size() || pages_[page] == nullptr) return kNone;
        return (*pages_[page])[objID & kSlotMask];
    }
    /// Files `position` under `objID` unless a position is filed there already. Throws
    /// std::bad_alloc, filing nothing, when a page cannot be made.
    void fileFirst(std::uint32_t objID, std::uint32_t position);
    /// Forgets every position and gives the pages back.
    void clear() noexcept { pages_.clear(); }

private:
    static constexpr std::uint32_t kPageBits = 10;
    static constexpr std::uint32_t kSlotMask = (1u << kPageBits) - 1;
    using Page = std::array<std::uint32_t, std::size_t{1} << kPageBits>;

    std::vector<std::unique_ptr<Page>> pages_;
};

} // namespace kor
