// The steps list records share: exchanging a live subtree with its copy while every object keeps
// its identity, and re-sorting the lists of a copy before it is committed.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

class CZRMasterTrack;
class CZRObjectTable;
class IZRMutableKorObject;
class CZRMusicalNote;
class CZRNodeList;

namespace kor {

/// A planned exchange of a live subtree with its copy, which share the root's ID. The objects
/// both subtrees hold (twins) trade their contents in place, so an object a host holds stays the
/// live one; only what one subtree holds alone (the objects the edits inserted or deleted) moves
/// between the tables, keeping its address and ID.
struct SubtreeExchange {
    /// The live object and its copy, for every ID both subtrees hold.
    std::vector<std::pair<IZRMutableKorObject*, IZRMutableKorObject*>> twins;
    /// The objects the copy holds alone (the edits inserted them), which join the live tree, and
    /// those the live tree holds alone (the edits deleted them), which join the copy. Both are
    /// empty when the edits changed values only, so such an exchange costs one list.
    std::vector<IZRMutableKorObject*> inserted;
    std::vector<IZRMutableKorObject*> deleted;
    /// The IDs of the inserted and deleted objects, ascending; both tables have their slots.
    std::vector<std::uint32_t> moving;
    bool empty() const { return twins.empty(); }
};

/// Plans the exchange of the subtree of `liveRoot` (in `live`) with the subtree of `copyRoot` (in
/// `store`) and makes every table slot it needs. False, with `plan` empty, when they cannot be
/// exchanged: the roots differ in ID, two objects of one ID differ in class, or an object that
/// moves would meet another object of the table it goes to under its ID. Throws std::bad_alloc
/// when memory runs out, leaving both subtrees as they were.
[[nodiscard]] bool planSubtreeExchange(CZRObjectTable& live, IZRMutableKorObject& liveRoot,
                                       CZRObjectTable& store, IZRMutableKorObject& copyRoot,
                                       SubtreeExchange& plan);

/// Carries out a planned exchange: afterwards the live root holds the copy's tree, built of the
/// live objects wherever an object of that ID was live, and the copy's root holds the tree that
/// was live. The roots keep their own parent links. Allocates nothing; `plan` is used up.
void applySubtreeExchange(CZRObjectTable& live, CZRObjectTable& store,
                          SubtreeExchange& plan) noexcept;

/// The IDs of `root` and everything below it, in ascending order.
std::vector<std::uint32_t> subtreeIDs(IZRMutableKorObject& root);

/// Orders the copied lists of a list record by ascending sort key (equal keys may change
/// places): the list itself; the time signature and tempo lists of a master track; the curve
/// lists of a note's sequential style.
void sortCopiedLists(CZRNodeList& list);
void sortCopiedLists(CZRMasterTrack& master);
void sortCopiedLists(CZRMusicalNote& note);

} // namespace kor
