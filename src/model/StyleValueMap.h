// Maps keyed by style attribute ID (style values, curve and control lists), one sorted array each.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kor {

/// The attribute IDs the default style plug-in names, shared by every map: a note carries nine
/// style values and two curves under these, so each entry holds the ID's number in this table
/// instead of its own copy of the text.
inline const std::array<std::wstring, 12>& sharedStyleKeys() {
    static const std::array<std::wstring, 12> keys{
        L"bendDep", L"bendLen", L"risePort", L"fallPort", L"decay",  L"accent",
        L"opening", L"POR",     L"vibType",  L"vibLen",   L"vibDep", L"vibRate",
    };
    return keys;
}

/// An ordered map from attribute ID to a `T` (a style value, a child list). A song carries such
/// maps for every note: one array for all entries, searched by halves, costs one allocation where
/// a tree costs one per entry. An entry is the number of a shared ID and its value; an ID no
/// shared key names keeps its text in the map's own side table, which most maps never allocate.
template <class T> class StyleKeyMap {
public:
    /// An entry as the readers see it: the ID's text (borrowed from the map or the shared keys,
    /// valid while the map is not changed) and the value.
    using Item = std::pair<const std::wstring&, T>;

    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Item;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = Item;

        /// Lets `it->first` and `it->second` read the entry the iterator stands on.
        struct Arrow {
            Item item;
            const Item* operator->() const { return &item; }
        };

        const_iterator() = default;
        Item operator*() const {
            return {map_->text(map_->entries_[at_].key), map_->entries_[at_].value};
        }
        Arrow operator->() const { return {**this}; }
        const_iterator& operator++() {
            ++at_;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++at_;
            return before;
        }
        bool operator==(const const_iterator& other) const { return at_ == other.at_; }

    private:
        friend class StyleKeyMap;
        const_iterator(const StyleKeyMap* map, std::size_t at)
            : map_(map)
            , at_(at) {}
        const StyleKeyMap* map_ = nullptr;
        std::size_t at_ = 0;
    };

    StyleKeyMap() = default;
    /// The entries given; of two with one ID the first stays, as in an ordered map.
    StyleKeyMap(std::initializer_list<std::pair<std::wstring_view, T>> entries) {
        entries_.reserve(entries.size());
        for (const auto& [id, value] : entries)
            if (!contains(id)) set(id, value);
    }
    StyleKeyMap(const StyleKeyMap& other)
        : entries_(other.entries_)
        , owned_(other.owned_ != nullptr
                     ? std::make_unique<std::vector<std::wstring>>(*other.owned_)
                     : nullptr) {}
    StyleKeyMap& operator=(const StyleKeyMap& other) {
        if (this != &other) {
            StyleKeyMap copy(other);
            swap(copy);
        }
        return *this;
    }
    StyleKeyMap(StyleKeyMap&&) noexcept = default;
    StyleKeyMap& operator=(StyleKeyMap&&) noexcept = default;
    ~StyleKeyMap() = default;

    void swap(StyleKeyMap& other) noexcept {
        entries_.swap(other.entries_);
        owned_.swap(other.owned_);
    }

    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, entries_.size()}; }
    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }

    /// The value under `id` (borrowed), or null.
    const T* find(std::wstring_view id) const {
        const std::size_t at = lowerBound(id);
        return at < entries_.size() && text(entries_[at].key) == id ? &entries_[at].value : nullptr;
    }
    bool contains(std::wstring_view id) const { return find(id) != nullptr; }
    /// The value under `id`; throws std::out_of_range when there is none.
    T at(std::wstring_view id) const {
        const T* value = find(id);
        if (value == nullptr) throw std::out_of_range("no such style attribute ID");
        return *value;
    }

    /// Sets the value of `id`, adding the ID in its place when it is new. Overwriting the value of
    /// an ID already present allocates nothing; running out of memory leaves the map as it was.
    void set(std::wstring_view id, T value) {
        const std::size_t at = lowerBound(id);
        if (at < entries_.size() && text(entries_[at].key) == id) {
            entries_[at].value = std::move(value);
            return;
        }
        const std::uint32_t key = keyFor(id);
        try {
            entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(at),
                            Entry{key, std::move(value)});
        } catch (...) {
            if ((key & kOwned) != 0) owned_->pop_back();
            throw;
        }
    }
    /// Removes the entry of `id`; false when there is none.
    bool erase(std::wstring_view id) {
        const std::size_t at = lowerBound(id);
        if (at >= entries_.size() || text(entries_[at].key) != id) return false;
        const std::uint32_t key = entries_[at].key;
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(at));
        if ((key & kOwned) != 0) dropOwned(key & ~kOwned);
        return true;
    }
    void clear() {
        entries_.clear();
        owned_.reset();
    }
    /// Calls `visit(value)` with each value, by reference, in ID order.
    template <class Visit> void forEachValue(Visit&& visit) {
        for (Entry& entry : entries_)
            visit(entry.value);
    }
    template <class Visit> void forEachValue(Visit&& visit) const {
        for (const Entry& entry : entries_)
            visit(entry.value);
    }
    /// Room for `count` entries in all, so that adding shared IDs one by one moves nothing.
    void reserve(std::size_t count) { entries_.reserve(count); }

private:
    /// Marks the number of an ID kept in the side table rather than among the shared keys.
    static constexpr std::uint32_t kOwned = 0x80000000u;

    struct Entry {
        std::uint32_t key;
        T value;
    };

    const std::wstring& text(std::uint32_t key) const {
        return (key & kOwned) != 0 ? (*owned_)[key & ~kOwned] : sharedStyleKeys()[key];
    }

    std::size_t lowerBound(std::wstring_view id) const {
        const auto at = std::partition_point(entries_.begin(), entries_.end(),
                                             [&](const Entry& e) { return text(e.key) < id; });
        return static_cast<std::size_t>(at - entries_.begin());
    }

    std::uint32_t keyFor(std::wstring_view id) {
        const auto& shared = sharedStyleKeys();
        const auto known = std::find(shared.begin(), shared.end(), id);
        if (known != shared.end()) return static_cast<std::uint32_t>(known - shared.begin());
        if (owned_ == nullptr) owned_ = std::make_unique<std::vector<std::wstring>>();
        owned_->emplace_back(id);
        return static_cast<std::uint32_t>(owned_->size() - 1) | kOwned;
    }

    // Removes the text of an ID no longer used, renumbering the IDs kept after it.
    void dropOwned(std::uint32_t index) {
        owned_->erase(owned_->begin() + static_cast<std::ptrdiff_t>(index));
        for (Entry& entry : entries_)
            if ((entry.key & kOwned) != 0 && (entry.key & ~kOwned) > index) --entry.key;
    }

    std::vector<Entry> entries_;
    std::unique_ptr<std::vector<std::wstring>> owned_; // texts of IDs outside the shared keys
};

/// Style values by attribute ID.
using StyleValueMap = StyleKeyMap<std::int32_t>;

} // namespace kor
