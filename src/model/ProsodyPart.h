// A part that carries phoneme timings, voices and curves on a seconds axis.
#pragma once

#include "model/ContainerOps.h"
#include "model/Part.h"

#include <korman/IZRProsodyPart.h>

/// A prosody part (type 20). Children, each optional: the voice list (list type 12), the
/// phoneme list (11), two curve element lists (13) and seven prosody control lists (14,
/// sub-kind = the control type). Positions inside are 16.16 seconds from the part's start; its
/// length in seconds is the end of its last event, and its tick length follows from that under
/// the tempos of the sequence that holds it.
class CZRProsodyPart final : public TZRPart<CZRProsodyPart, IZRProsodyPart> {
public:
    static constexpr ZRObjType kType = ZRObjType::ProsodyPart;
    static constexpr std::int32_t kControlTypes = 7;

    explicit CZRProsodyPart(std::uint32_t objID, ZRPartValues values = {})
        : TZRPart(objID, std::move(values)) {}

    std::int32_t getDurSec() override {
        updateDerivedLength();
        return durSec_;
    }
    IZRNodeList* getVoiceList() const override { return voices_; }
    IZRNodeList* getPhonemeList() const override { return phonemes_; }
    IZRNodeList* getFirstElementList() const override { return elements_[0]; }
    IZRNodeList* getSecondElementList() const override { return elements_[1]; }
    IZRNodeList* getControlList(std::int32_t type) const override { return controlList(type); }

    /// The stored length in seconds, without recomputing it.
    std::int32_t durSec() const { return durSec_; }
    CZRNodeList* voiceList() const { return voices_; }
    CZRNodeList* phonemeList() const { return phonemes_; }
    /// The first (0) or second (1) curve element list; null for another index.
    CZRNodeList* elementList(std::size_t which) const {
        return which < elements_.size() ? elements_[which] : nullptr;
    }
    CZRNodeList* controlList(std::int32_t type) const;

    void setDurSec(std::int32_t durSec) { durSec_ = durSec; }
    [[nodiscard]] bool setVoiceList(CZRNodeList* list);
    [[nodiscard]] bool setPhonemeList(CZRNodeList* list);
    /// Fails for an index other than 0 or 1.
    [[nodiscard]] bool setElementList(std::size_t which, CZRNodeList* list);
    /// Fails for a type outside 0 to 6.
    [[nodiscard]] bool setControlList(std::int32_t type, CZRNodeList* list);

    std::uint32_t validate() const override;
    /// The shared part repair; drops repeated or negative events; makes sure a voice and both
    /// curves start at 0 (creating them when empty); recomputes the lengths.
    std::uint32_t correct(CZRObjectTable& table, const ZRCreateContext& context) override;

    /// durSec becomes the end of the last event, then durTick follows from it (kept when the
    /// sequence's tempos cannot convert it).
    void updateDerivedLength();

private:
    friend class TZRObject<CZRProsodyPart, IZRProsodyPart, CZRPart>;

    std::uint32_t validatePhonemes() const;
    void copyValues(const CZRProsodyPart& source) { durSec_ = source.durSec_; }
    void swapValues(CZRProsodyPart& other) { std::swap(durSec_, other.durSec_); }
    bool copyChildren(const CZRProsodyPart& source, std::uint32_t copyFlags,
                      const ZRCreateContext& context);
    template <class Self> static auto childFields(Self& self) {
        return std::tie(self.voices_, self.phonemes_, self.elements_, self.controls_);
    }
    void dumpFields(std::wstring& out) const;

    std::int32_t durSec_ = 0;
    CZRNodeList* voices_ = nullptr;
    CZRNodeList* phonemes_ = nullptr;
    kor::ListRow<2> elements_{};
    kor::ControlLists controls_{};
};
