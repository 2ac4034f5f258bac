// The write interface shared by every object of a song document. It is not installed: a host
// changes a song only through the editor, so that every change is recorded in the history. The
// library's own tool and tests reach it here.
#pragma once

#include <korman/IZRKorObject.h>

#include <cstdint>
#include <string>
#include <vector>

class CZRObjectTable;
struct ZRCreateContext;

/// Copy flags of IZRMutableKorObject::copyFrom.
inline constexpr std::uint32_t ZR_COPY_DEEP = 0x01u; ///< copy the children too, as new objects
inline constexpr std::uint32_t ZR_COPY_KEEP_IDS =
    0x10u; ///< new children take the source children's IDs

/// Every operation that changes, checks or copies an object. Objects are held by this view in
/// node lists, parent links and the object table, which alone owns (and deletes) them.
/// Operations report failure by a false or zero result and never throw.
class KORMAN_API IZRMutableKorObject : public virtual IZRKorObject {
public:
    /// Deletes the object's own fields; never touches its children.
    ~IZRMutableKorObject() override = default;

    /// Appends the direct children (borrowed) in the class's fixed order, skipping empty slots.
    virtual void getChildren(std::vector<IZRMutableKorObject*>& out) const = 0;
    /// Overwrites the type number; only the part classes use it, to give their shared part their
    /// type.
    virtual void setObjType(ZRObjType type) = 0;
    /// Links the object under `parent`, or unlinks it (null), which sets the detached mark.
    virtual bool setParent(IZRMutableKorObject* parent) = 0;
    virtual bool setFlags(std::uint32_t flags) = 0;
    /// 0 when every field is within range, otherwise the code of the first failing check.
    virtual std::uint32_t validate() const = 0;
    /// Repairs what can be repaired: 0 if nothing changed, 1 if something changed, or an error
    /// code with bit 0x8000 set when the object stays invalid. Objects that the repair removes
    /// are destroyed in `table`; missing lists and default objects are created in `context`.
    virtual std::uint32_t correct(CZRObjectTable& table, const ZRCreateContext& context) = 0;
    /// The key by which sorted lists order the object; 0 for classes not kept in sorted lists.
    virtual std::int32_t getSortKey() const = 0;
    /// Makes this object a copy of `source` (same class) with ZR_COPY_* flags; a deep copy needs
    /// a creation context. Never copies the ID, the parent or the detached mark.
    virtual bool copyFrom(const IZRMutableKorObject* source, std::uint32_t copyFlags,
                          const ZRCreateContext* context) = 0;
    /// A new object of this class, registered in `context`, made a copy of this one with ZR_COPY_*
    /// flags: under this object's ID when they keep IDs, else under a fresh one. A deep copy copies
    /// each child through the child's own cloneInto, so a container needs no knowledge of its
    /// children's classes. Null, with nothing left in `context`, for classes that refuse copying
    /// and when creation or copying fails.
    virtual IZRMutableKorObject* cloneInto(const ZRCreateContext& context,
                                           std::uint32_t copyFlags) const = 0;
    /// Exchanges the own value fields with `other`, which must have the same ID and type; children,
    /// list elements, IDs and parent links stay where they are. Fails without change otherwise.
    virtual bool swapContents(IZRMutableKorObject* other) = 0;
    /// Exchanges with `other` (same ID and type) the own value fields, the child slots and the
    /// edited mark, so that each object takes the other's place in content; the parent links of
    /// both and of their children stay as they were (relinkChildren sets those). The edit records
    /// use it to apply and revert a change while the objects a host holds keep their identity.
    /// Fails without change for another ID or type, and for classes that refuse copying.
    virtual bool swapTree(IZRMutableKorObject* other) noexcept = 0;
    /// Points every child slot at the object `table` holds under that child's ID (a slot whose
    /// child the table does not hold, as that class, keeps it) and links each child under this
    /// object.
    virtual void relinkChildren(const CZRObjectTable& table) noexcept = 0;
    virtual void setEdited() = 0;
    /// Clears the edited mark (the part classes first recompute their derived tick length).
    virtual void clearEdited() = 0;
    /// Bytes the object's own record occupies in memory; strings are not walked.
    virtual std::uint32_t getSize() const = 0;
    /// Appends the debug text of the object, and of its subtree when `recursive` is non-zero.
    virtual void dump(std::wstring& out, int recursive) const = 0;
};
