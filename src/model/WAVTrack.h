// An audio track and its WAV parts.
#pragma once

#include "model/NodeList.h"
#include "model/ObjectBase.h"
#include "model/ObjectTree.h"

#include <korman/IZRWAVTrack.h>

/// An audio track: holds its WAV part list (list type 21; sub-kind 0 for the sound-effect
/// track, 1 for the backing track).
class CZRWAVTrack final : public TZRObject<CZRWAVTrack, IZRWAVTrack> {
public:
    static constexpr ZRObjType kType = ZRObjType::WAVTrack;

    explicit CZRWAVTrack(std::uint32_t objID)
        : TZRObject(objID) {}

    IZRNodeList* getWAVPartList() const override { return parts_; }
    CZRNodeList* wavPartList() const { return parts_; }
    [[nodiscard]] bool setWAVPartList(CZRNodeList* list) {
        return kor::setChildSlot(parts_, list, this);
    }

    /// Every element of the list must be a part.
    std::uint32_t validate() const override;
    std::uint32_t correct(CZRObjectTable& table, const ZRCreateContext& context) override;

private:
    friend class TZRObject<CZRWAVTrack, IZRWAVTrack>;

    bool copyChildren(const CZRWAVTrack& source, std::uint32_t copyFlags,
                      const ZRCreateContext& context);
    template <class Self> static auto childFields(Self& self) { return std::tie(self.parts_); }

    CZRNodeList* parts_ = nullptr;
};
