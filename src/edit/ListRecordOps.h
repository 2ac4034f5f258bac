// The container-specific steps of list records: relinking a subtree into its container in place
// of the one it replaces, and re-sorting the lists of a copy before it is committed.
#pragma once

#include <cstdint>
#include <vector>

class CZRMasterTrack;
class CZRObjectTable;
class IZRMutableKorObject;
class CZRMixer;
class CZRMusicalNote;
class CZRMusicalPart;
class CZRNodeList;
class CZRNoteStyleSeqAttrib;
class CZRProsodyPart;
class CZRSequence;
class CZRWAVTrack;
class CZRZRTrack;

namespace kor {

/// Links `replacement` into the child slot or list place of `parent` that holds `old`; `old` is
/// unlinked (and so carries the detached mark). False, changing nothing, when `old` is not a
/// child of `parent` or the link fails. Allocates nothing, so an exchange can relink after it
/// has prepared.
[[nodiscard]] bool relinkChild(CZRMasterTrack& parent, CZRNodeList& old, CZRNodeList& replacement);
[[nodiscard]] bool relinkChild(CZRMusicalPart& parent, CZRNodeList& old, CZRNodeList& replacement);
[[nodiscard]] bool relinkChild(CZRProsodyPart& parent, CZRNodeList& old, CZRNodeList& replacement);
[[nodiscard]] bool relinkChild(CZRZRTrack& parent, CZRNodeList& old, CZRNodeList& replacement);
[[nodiscard]] bool relinkChild(CZRWAVTrack& parent, CZRNodeList& old, CZRNodeList& replacement);
[[nodiscard]] bool relinkChild(CZRSequence& parent, CZRNodeList& old, CZRNodeList& replacement);
[[nodiscard]] bool relinkChild(CZRSequence& parent, CZRMasterTrack& old,
                               CZRMasterTrack& replacement);
[[nodiscard]] bool relinkChild(CZRMixer& parent, CZRNodeList& old, CZRNodeList& replacement);
[[nodiscard]] bool relinkChild(CZRNoteStyleSeqAttrib& parent, CZRNodeList& old,
                               CZRNodeList& replacement);
[[nodiscard]] bool relinkChild(CZRNodeList& parent, CZRMusicalNote& old,
                               CZRMusicalNote& replacement);

/// The IDs of `root` and everything below it, in ascending order.
std::vector<std::uint32_t> subtreeIDs(const IZRMutableKorObject& root);

/// The IDs under which the subtree of `liveRoot` (in `live`) and the subtree of `copyRoot` (in
/// `store`) trade tables, in ascending order, in `ids`. False when they cannot trade: an object of
/// either would meet an object of the other table under its ID that is not its own counterpart in
/// the other subtree. Throws std::bad_alloc when memory runs out.
[[nodiscard]] bool tradedIDs(const CZRObjectTable& live, const IZRMutableKorObject& liveRoot,
                             const CZRObjectTable& store, const IZRMutableKorObject& copyRoot,
                             std::vector<std::uint32_t>& ids);

/// Orders the copied lists of a list record by ascending sort key (equal keys may change
/// places): the list itself; the time signature and tempo lists of a master track; the curve
/// lists of a note's sequential style.
void sortCopiedLists(CZRNodeList& list);
void sortCopiedLists(CZRMasterTrack& master);
void sortCopiedLists(CZRMusicalNote& note);

} // namespace kor
