// The identity record every object carries: ID, type, flags and parent link.
#pragma once

#include "model/MutableKorObject.h"

#include <cstdint>
#include <vector>

/// The core of an object: the fields every class shares, answering the identity operations that
/// the classes forward to it. A class embeds its core (the part classes embed a whole CZRPart in
/// its place) and owns it. The core is a plain record, not an object of its own: no interface and
/// no table of virtual functions, and its type and flags packed into one word beside the ID, so
/// it adds 16 bytes to every object of a song.
class CZRKorObject final {
public:
    CZRKorObject(std::uint32_t objID, ZRObjType objType)
        : objID_(objID)
        , objType_(static_cast<std::int16_t>(objType)) {}
    CZRKorObject(const CZRKorObject&) = delete;
    CZRKorObject& operator=(const CZRKorObject&) = delete;

    std::uint32_t getObjID() const { return objID_; }
    ZRObjType getObjType() const { return static_cast<ZRObjType>(objType_); }
    IZRKorObject* getParent() const { return parent_; }
    /// The IDs from the root down to this object.
    void getObjIDPath(std::vector<std::uint32_t>& path) const;
    std::uint32_t getFlags() const { return flags_; }

    void setObjType(ZRObjType type) { objType_ = static_cast<std::int16_t>(type); }
    /// Links under `parent`, or unlinks (null), which sets the detached mark.
    bool setParent(IZRMutableKorObject* parent);
    /// Takes the flags word; false, changing nothing, for bits above the sixteen it keeps (the
    /// defined flags are the lowest two).
    bool setFlags(std::uint32_t flags);
    /// Copies the type and an edited mark of `source`; fails for a null source or for a deep copy
    /// without a context.
    template <class Core>
    bool copyFrom(const Core* source, std::uint32_t copyFlags, const ZRCreateContext* context) {
        if (source == nullptr) return false;
        if ((copyFlags & ZR_COPY_DEEP) != 0 && context == nullptr) return false;
        objType_ = static_cast<std::int16_t>(source->getObjType());
        if ((source->getFlags() & ZR_FLAG_EDITED) != 0) flags_ |= ZR_FLAG_EDITED;
        return true;
    }
    /// Exchanges nothing: only checks that `other` has the same ID and type.
    template <class Core> bool swapContents(const Core* other) const {
        return other != nullptr && other->getObjID() == objID_ &&
               other->getObjType() == getObjType();
    }
    void setEdited() { flags_ |= ZR_FLAG_EDITED; }
    void clearEdited() { flags_ &= static_cast<std::uint16_t>(~ZR_FLAG_EDITED); }

    /// The parent as the write view, for the tree operations inside the library.
    IZRMutableKorObject* mutableParent() const { return parent_; }

private:
    IZRMutableKorObject* parent_ = nullptr;
    std::uint32_t objID_;
    std::int16_t objType_;
    std::uint16_t flags_ = 0;
};
