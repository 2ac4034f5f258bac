// The identity record every object carries: ID, type, flags and parent link.
#pragma once

#include <korman/IZRMutableKorObject.h>

/// The core of an object: the fields every class shares, answering the identity operations that
/// the classes forward to it. A class embeds its core (the part classes embed a whole CZRPart in
/// its place) and owns it; the core has no value fields or children of its own, so its
/// validation, repair and children are empty.
class CZRKorObject final : public IZRMutableKorObject {
public:
    CZRKorObject(std::uint32_t objID, ZRObjType objType) : objID_(objID), objType_(objType) {}
    CZRKorObject(const CZRKorObject&) = delete;
    CZRKorObject& operator=(const CZRKorObject&) = delete;

    std::uint32_t getObjID() const override { return objID_; }
    ZRObjType getObjType() const override { return objType_; }
    IZRKorObject* getParent() const override { return parent_; }
    void getObjIDPath(std::vector<std::uint32_t>& path) const override;
    std::uint32_t getFlags() const override { return flags_; }

    void getChildren(std::vector<IZRMutableKorObject*>&) const override {}
    void setObjType(ZRObjType type) override { objType_ = type; }
    bool setParent(IZRMutableKorObject* parent) override;
    bool setFlags(std::uint32_t flags) override;
    std::uint32_t validate() const override { return 0; }
    std::uint32_t correct(CZRObjectTable&, const ZRCreateContext&) override { return 0; }
    std::int32_t getSortKey() const override { return 0; }
    /// Copies the type and an edited mark of `source`; fails for a null source or for a deep copy
    /// without a context.
    bool copyFrom(const IZRMutableKorObject* source, std::uint32_t copyFlags,
                  const ZRCreateContext* context) override;
    /// Exchanges nothing: only checks that `other` has the same ID and type.
    bool swapContents(IZRMutableKorObject* other) override;
    void setEdited() override { flags_ |= ZR_FLAG_EDITED; }
    void clearEdited() override { flags_ &= ~ZR_FLAG_EDITED; }
    std::uint32_t getSize() const override { return sizeof(CZRKorObject); }
    void dump(std::wstring& out, int recursive) const override;

    /// The parent as the write view, for the tree operations inside the library.
    IZRMutableKorObject* mutableParent() const { return parent_; }

private:
    std::uint32_t objID_;
    ZRObjType objType_;
    std::uint32_t flags_ = 0;
    IZRMutableKorObject* parent_ = nullptr;
};
