// The sequence: the song document under the root, and the root itself.
#pragma once

#include "model/MasterTrack.h"
#include "model/Mixer.h"
#include "model/NodeList.h"
#include "model/ObjectBase.h"
#include "model/ObjectTree.h"
#include "model/UnManaged.h"
#include "model/WAVTrack.h"
#include "platform/XmlChars.h"

#include <korman/IZRSequence.h>

#include <string>

class CZRZRTrack;

/// Initial values of a sequence.
struct ZRSequenceValues {
    std::wstring vender;
    std::wstring version;
};

/// The song document: vendor and format version, the master track, the singing tracks (list
/// type 23), the sound-effect and backing audio tracks, the VVoice table (list type 25), the
/// mixer and the unmanaged container. Cannot be copied or exchanged.
class CZRSequence final : public TZRObject<CZRSequence, IZRSequence> {
public:
    static constexpr ZRObjType kType = ZRObjType::Sequence;
    static constexpr bool kCopyable = false;
    static constexpr std::uint32_t kMaxTracks = 16;
    static constexpr std::uint32_t kMaxVVoices = 16384;

    explicit CZRSequence(std::uint32_t objID, ZRSequenceValues values = {})
        : TZRObject(objID)
        , values_(std::move(values)) {}

    const std::wstring& getVender() const override { return values_.vender; }
    const std::wstring& getVersion() const override { return values_.version; }
    IZRMasterTrack* getMasterTrack() const override;
    IZRNodeList* getZRTrackList() const override { return zrTracks_; }
    IZRZRTrack* findZRTrack(std::int32_t trackNo) const override;
    IZRWAVTrack* getSETrack() const override;
    IZRWAVTrack* getKaraokeTrack() const override;
    IZRNodeList* getVVoiceList() const override { return vvoices_; }
    IZRMixer* getMixer() const override;
    IZRUnManaged* getUnManaged() const override;

    // The children as the classes the library works on (borrowed, null when missing).
    CZRMasterTrack* masterTrack() const { return masterTrack_; }
    CZRNodeList* zrTrackList() const { return zrTracks_; }
    CZRZRTrack* zrTrack(std::int32_t trackNo) const;
    CZRWAVTrack* seTrack() const { return seTrack_; }
    CZRWAVTrack* karaokeTrack() const { return karaokeTrack_; }
    CZRNodeList* vvoiceList() const { return vvoices_; }
    CZRMixer* mixer() const { return mixer_; }
    CZRUnManaged* unManaged() const { return unManaged_; }

    void setVender(std::wstring vender) {
        values_.vender = kor::platform::storedText(std::move(vender));
    }
    void setVersion(std::wstring version) {
        values_.version = kor::platform::storedText(std::move(version));
    }
    [[nodiscard]] bool setMasterTrack(CZRMasterTrack* track);
    [[nodiscard]] bool setZRTrackList(CZRNodeList* list);
    [[nodiscard]] bool setSETrack(CZRWAVTrack* track);
    [[nodiscard]] bool setKaraokeTrack(CZRWAVTrack* track);
    [[nodiscard]] bool setVVoiceList(CZRNodeList* list);
    [[nodiscard]] bool setMixer(CZRMixer* mixer);
    [[nodiscard]] bool setUnManaged(CZRUnManaged* unManaged);

    std::uint32_t validate() const override;
    /// Trims an over-long VVoice or track list by its last element (one per call), removes
    /// VVoices repeating the voice before them; every other fault is unrepairable.
    std::uint32_t correct(CZRObjectTable& table, const ZRCreateContext& context) override;

private:
    friend class TZRObject<CZRSequence, IZRSequence>;

    std::uint32_t validateMixerUnits() const;
    std::uint32_t validateTracks() const;
    template <class Self> static auto childFields(Self& self) {
        return std::tie(self.vvoices_, self.mixer_, self.masterTrack_, self.zrTracks_,
                        self.seTrack_, self.karaokeTrack_, self.unManaged_);
    }
    void dumpFields(std::wstring& out) const;

    ZRSequenceValues values_;
    CZRMasterTrack* masterTrack_ = nullptr;
    CZRNodeList* zrTracks_ = nullptr;
    CZRWAVTrack* seTrack_ = nullptr;
    CZRWAVTrack* karaokeTrack_ = nullptr;
    CZRNodeList* vvoices_ = nullptr;
    CZRMixer* mixer_ = nullptr;
    CZRUnManaged* unManaged_ = nullptr;
};

namespace kor {

/// The nearest ancestor of `obj` that is a sequence, or null; the search starts at the parent, so
/// a sequence is not its own.
CZRSequence* findSequence(const IZRKorObject* obj);
/// The master track of the sequence that contains `obj`, or null.
CZRMasterTrack* findMasterTrack(const IZRKorObject* obj);

} // namespace kor
