// The read interface shared by every object of a song document.
#pragma once

#include <korman/Export.h>
#include <korman/ZRObjType.h>

#include <cstdint>
#include <vector>

/// An object ID that names no object; also the "allocate a fresh ID" request of the factories.
inline constexpr std::uint32_t ZR_NO_OBJ_ID = 0xFFFFFFFFu;

/// Object flag bits.
inline constexpr std::uint32_t ZR_FLAG_EDITED =
    0x1u; ///< changed by the editor since the last commit
inline constexpr std::uint32_t ZR_FLAG_DETACHED = 0x2u; ///< unlinked from its container

/// Identity and tree position of an object. Every object class publishes this through its typed
/// read interface (IZRTempo, IZRNodeList, ...); a host moves between views with dynamic_cast.
///
/// Objects are owned by the library; the pointers it hands out are borrowed. A pointer names one
/// object for as long as that object is in the song: commits, undos, redos, trims of the history
/// and the mixer, VVoice and aux calls change the object in place, so the pointer keeps answering
/// the live values (an edited note answers its new pitch; a list answers its new elements).
/// - An object an edit deleted (or an undo took back out) is no longer in the song: looking its
///   ID up answers null. The pointer may still be read, showing the object as it was deleted,
///   until the history drops the commit that holds it (a new commit after undo, a trim past the
///   undo limit or for memory, a load); an undo brings back that very object.
/// - Replacing or destroying the document (a load, a new sequence, korDestroySequence, the
///   manager's destruction) ends every object of it.
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
    /// Objects are destroyed by the library alone; a host never deletes one.
    virtual ~IZRKorObject() = default;
};
