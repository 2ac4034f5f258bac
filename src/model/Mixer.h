// The mixer of a sequence.
#pragma once

#include "model/KaraokeUnit.h"
#include "model/MasterUnit.h"
#include "model/NodeList.h"
#include "model/ObjectBase.h"
#include "model/SEUnit.h"

#include <korman/IZRMixer.h>

/// The mixer: master unit, ZR unit list (list type 28, 1 to 16 units ordered by strictly
/// increasing track number), SE unit and karaoke unit, all child fields. It belongs to its
/// sequence and takes part in neither copying nor exchange. Its repair changes nothing: every
/// fault it finds is unrepairable.
class CZRMixer final : public TZRObject<CZRMixer, IZRMixer> {
public:
    static constexpr ZRObjType kType = ZRObjType::Mixer;
    static constexpr bool kCopyable = false;
    static constexpr std::uint32_t kMaxZRUnits = 16;

    explicit CZRMixer(std::uint32_t objID)
        : TZRObject(objID) {}

    IZRMasterUnit* getMasterUnit() const override;
    IZRNodeList* getZRUnitList() const override;
    IZRSEUnit* getSEUnit() const override;
    IZRKaraokeUnit* getKaraokeUnit() const override;

    CZRMasterUnit* masterUnit() const { return master_; }
    CZRNodeList* zrUnitList() const { return zrUnits_; }
    CZRSEUnit* seUnit() const { return se_; }
    CZRKaraokeUnit* karaokeUnit() const { return karaoke_; }

    [[nodiscard]] bool setMasterUnit(CZRMasterUnit* unit);
    [[nodiscard]] bool setZRUnitList(CZRNodeList* list);
    [[nodiscard]] bool setSEUnit(CZRSEUnit* unit);
    [[nodiscard]] bool setKaraokeUnit(CZRKaraokeUnit* unit);

    /// Master, SE and karaoke unit present; then the ZR unit list: present, 1 to 16 units, each
    /// a ZR unit, track numbers strictly increasing.
    std::uint32_t validate() const override;
    std::uint32_t correct(CZRObjectTable& table, const ZRCreateContext& context) override;

private:
    friend class TZRObject<CZRMixer, IZRMixer>;

    template <class Self> static auto childFields(Self& self) {
        return std::tie(self.master_, self.zrUnits_, self.se_, self.karaoke_);
    }

    CZRMasterUnit* master_ = nullptr;
    CZRNodeList* zrUnits_ = nullptr;
    CZRSEUnit* se_ = nullptr;
    CZRKaraokeUnit* karaoke_ = nullptr;
};
