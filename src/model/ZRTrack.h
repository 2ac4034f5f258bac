// A singing track and its parts.
#pragma once

#include "model/NodeList.h"
#include "model/ObjectBase.h"
#include "model/ObjectTree.h"
#include "platform/XmlChars.h"

#include <korman/IZRZRTrack.h>

#include <string>

/// Initial values of a singing track.
struct ZRZRTrackValues {
    std::wstring name;
    std::wstring comment;
    std::int32_t trackNo = 0;
};

/// A singing track: holds its part list (list type 18) of musical and prosody parts. Sorted by
/// track number in the sequence's track list.
class CZRZRTrack final : public TZRObject<CZRZRTrack, IZRZRTrack> {
public:
    static constexpr ZRObjType kType = ZRObjType::ZRTrack;
    static constexpr std::int32_t kMaxTrackNo = 15;

    explicit CZRZRTrack(std::uint32_t objID, ZRZRTrackValues values = {})
        : TZRObject(objID)
        , values_(std::move(values)) {}

    std::int32_t getTrackNo() const override { return values_.trackNo; }
    const std::wstring& getName() const override { return values_.name; }
    const std::wstring& getComment() const override { return values_.comment; }
    IZRNodeList* getPartList() const override { return parts_; }
    CZRNodeList* partList() const { return parts_; }

    void setTrackNo(std::int32_t trackNo) { values_.trackNo = trackNo; }
    void setName(std::wstring name) { values_.name = kor::platform::storedText(std::move(name)); }
    void setComment(std::wstring comment) {
        values_.comment = kor::platform::storedText(std::move(comment));
    }
    [[nodiscard]] bool setPartList(CZRNodeList* list) {
        return kor::setChildSlot(parts_, list, this);
    }

    /// Track number, then every part's class; a missing or empty part list is valid.
    std::uint32_t validate() const override;
    /// Changes nothing: reports the faults of validate as unrepairable.
    std::uint32_t correct(CZRObjectTable& table, const ZRCreateContext& context) override;
    std::int32_t getSortKey() const override { return values_.trackNo; }

private:
    friend class TZRObject<CZRZRTrack, IZRZRTrack>;

    void copyValues(const CZRZRTrack& source) { values_ = source.values_; }
    void swapValues(CZRZRTrack& other) { std::swap(values_, other.values_); }
    bool copyChildren(const CZRZRTrack& source, std::uint32_t copyFlags,
                      const ZRCreateContext& context);
    template <class Self> static auto childFields(Self& self) { return std::tie(self.parts_); }
    void dumpFields(std::wstring& out) const;

    ZRZRTrackValues values_;
    CZRNodeList* parts_ = nullptr;
};
