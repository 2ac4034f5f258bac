#include "edit/IdIndex.h"

namespace kor {

void IdIndex::fileFirst(std::uint32_t objID, std::uint32_t position) {
    const std::size_t page = objID >> kPageBits;
    if (page >= pages_.size()) pages_.resize(page + 1);
    if (pages_[page] == nullptr) {
        auto made = std::make_unique<Page>();
        made->fill(kNone);
        pages_[page] = std::move(made);
    }
    std::uint32_t& slot = (*pages_[page])[objID & kSlotMask];
    if (slot == kNone) slot = position;
}

} // namespace kor
