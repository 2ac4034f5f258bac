// The read interface shared by every object of a song document.
#pragma once

#include <korman/Export.h>
#include <korman/ZRObjType.h>

#include <cstdint>
#include <vector>

/// An object ID that names no object; also the "allocate a fresh ID" request of the factories.
inline constexpr std::uint32_t ZR_NO_OBJ_ID = 0xFFFFFFFFu;

/// Object flag bits.
inline constexpr std::uint32_t ZR_FLAG_EDITED = 0x1u;   ///< changed by the editor since the last commit
inline constexpr std::uint32_t ZR_FLAG_DETACHED = 0x2u; ///< unlinked from its container

/// Identity and tree position of an object. Every object class publishes this through its typed
/// read interface (IZRTempo, IZRNodeList, ...); a host moves between views with dynamic_cast.
/// Objects are owned by the library: pointers handed out are borrowed and stay valid until an edit
/// removes the object or the document is replaced.
class KORMAN_API IZRKorObject {
public:
    /// The object ID, unique within the object's document.
    virtual std::uint32_t getObjID() const = 0;
    /// The object type number (the class).
    virtual ZRObjType getObjType() const = 0;
    /// The containing object (borrowed), or null for a top-level or detached object.
    virtual IZRKorObject* getParent() const = 0;
    /// Replaces `path` with the IDs from the outermost ancestor down to this object (own ID last).
    virtual void getObjIDPath(std::vector<std::uint32_t>& path) const = 0;
    /// The flags word: ZR_FLAG_EDITED and ZR_FLAG_DETACHED.
    virtual std::uint32_t getFlags() const = 0;

protected:
    virtual ~IZRKorObject() = default;
};
