#include "manager/VVoicePasses.h"

#include "manager/KorManagerApp.h"
#include "model/KorDocument.h"
#include "model/KorRoot.h"
#include "model/MusicalPart.h"
#include "model/MusicalSinger.h"
#include "model/ProsodyPart.h"
#include "model/ProsodyVoice.h"
#include "model/Sequence.h"
#include "model/VVoice.h"
#include "model/ZRTrack.h"

#include <optional>
#include <set>
#include <utility>

namespace kor {

namespace {

using Key = std::pair<int, int>;

class VVoicePasses {
public:
    VVoicePasses(CZRKorDocument& document, CZRNodeList& vvoices, const VoiceTables& library)
        : document_(document)
        , vvoices_(vvoices)
        , library_(library) {}

    bool replaceUnknownVVoices();
    bool moveSingers(CZRSequence& sequence);

private:
    const ZRVVoiceLib* replacementFor(int bankSelect) const;
    CZRVVoice* songVVoice(Key key, const CZRVVoice* other = nullptr) const;
    template <class Event> bool moveSingersOf(const CZRNodeList* events, std::uint32_t partID);
    std::optional<Key> targetOf(Key key);

    CZRKorDocument& document_;
    CZRNodeList& vvoices_;
    const VoiceTables& library_;
    std::map<Key, Key> moved_;
};

const ZRVVoiceLib* VVoicePasses::replacementFor(int bankSelect) const {
    if (const auto rep = library_.bankRepresentatives.find(bankSelect);
        rep != library_.bankRepresentatives.end())
        return &rep->second;
    if (isValidVVoiceRecord(library_.defaultVVoice) && library_.defaultVVoice.vBS >= 0)
        return &library_.defaultVVoice;
    return library_.bankRepresentatives.empty() ? nullptr
                                                : &library_.bankRepresentatives.begin()->second;
}

CZRVVoice* VVoicePasses::songVVoice(Key key, const CZRVVoice* other) const {
    for (IZRMutableKorObject* element : vvoices_.elements()) {
        auto* voice = objCast<CZRVVoice>(element);
        if (voice != nullptr && voice != other && voice->values().vBS == key.first &&
            voice->values().vPC == key.second)
            return voice;
    }
    return nullptr;
}

bool VVoicePasses::replaceUnknownVVoices() {
    std::set<std::wstring> known;
    for (const auto& [key, voice] : library_.vvoices)
        known.insert(voice.compID);

    const std::vector<IZRMutableKorObject*> elements = vvoices_.elements();
    for (IZRMutableKorObject* element : elements) {
        auto* voice = objCast<CZRVVoice>(element);
        if (voice == nullptr) return false;
        if (known.contains(voice->values().compID)) continue;
        const ZRVVoiceLib* replacement = replacementFor(voice->values().vBS);
        if (replacement == nullptr) return false;

        const ZRVVoiceValues old = voice->values();
        const Key from{old.vBS, old.vPC};
        const Key to{replacement->vBS, replacement->vPC};
        ZRVVoiceConvertInfo row{voice->getObjID(), from.first, from.second, to.first,
                                to.second,         old.compID, old.name,    replacement->name};
        if (const CZRVVoice* holder = songVVoice(to, voice)) {
            row.objID = holder->getObjID();
            row.newName = holder->values().name;
            if (!vvoices_.removeByID(voice->getObjID())) return false;
            document_.objects().destroy(voice->getObjID());
        } else {
            voice->values() = ZRVVoiceValues{to.first, to.second, replacement->compID,
                                             replacement->name, replacement->param};
        }
        if (from != to) moved_[from] = to;
        document_.vvoiceConversions.push_back(std::move(row));
    }
    vvoices_.sortByKey();
    return true;
}

// Where a singer of `key` goes: the key its VVoice moved to, nowhere when a song VVoice has the
// key, else the replacement voice of its bank, added to the song when it lacks that voice.
std::optional<Key> VVoicePasses::targetOf(Key key) {
    if (const auto move = moved_.find(key); move != moved_.end()) return move->second;
    if (songVVoice(key) != nullptr) return key;
    const ZRVVoiceLib* replacement = replacementFor(key.first);
    if (replacement == nullptr) return std::nullopt;
    const Key to{replacement->vBS, replacement->vPC};
    if (songVVoice(to) == nullptr) {
        auto* added =
            createObject<CZRVVoice>(document_.context(), ZR_NO_OBJ_ID,
                                    ZRVVoiceValues{to.first, to.second, replacement->compID,
                                                   replacement->name, replacement->param});
        if (added == nullptr) return std::nullopt;
        if (!vvoices_.insertSorted(added)) {
            document_.objects().destroy(added->getObjID());
            return std::nullopt;
        }
    }
    moved_[key] = to;
    return to;
}

template <class Event>
bool VVoicePasses::moveSingersOf(const CZRNodeList* events, std::uint32_t partID) {
    if (events == nullptr) return true;
    for (IZRMutableKorObject* element : events->elements()) {
        auto* event = objCast<Event>(element);
        if (event == nullptr) continue;
        auto& values = event->values();
        const Key from{values.vBS, values.vPC};
        const std::optional<Key> to = targetOf(from);
        if (!to) return false;
        if (*to == from) continue;
        values.vBS = to->first;
        values.vPC = to->second;
        document_.singerConversions.push_back(ZRSingerConvertInfo{
            event->getObjID(), partID, from.first, from.second, to->first, to->second});
    }
    return true;
}

bool VVoicePasses::moveSingers(CZRSequence& sequence) {
    if (sequence.zrTrackList() == nullptr) return true;
    for (IZRMutableKorObject* element : sequence.zrTrackList()->elements()) {
        const auto* track = objCast<CZRZRTrack>(element);
        if (track == nullptr || track->partList() == nullptr) continue;
        for (IZRMutableKorObject* item : track->partList()->elements()) {
            if (const auto* musical = objCast<CZRMusicalPart>(item)) {
                if (!moveSingersOf<CZRMusicalSinger>(musical->singerList(), musical->getObjID()))
                    return false;
            } else if (const auto* prosody = objCast<CZRProsodyPart>(item)) {
                if (!moveSingersOf<CZRProsodyVoice>(prosody->voiceList(), prosody->getObjID()))
                    return false;
            }
        }
    }
    return true;
}

} // namespace

bool runVVoicePasses(CZRKorDocument& document, const VoiceTables& library) {
    document.vvoiceConversions.clear();
    document.singerConversions.clear();
    CZRSequence* sequence = document.root() != nullptr ? document.root()->sequence() : nullptr;
    if (sequence == nullptr || sequence->vvoiceList() == nullptr) return false;
    VVoicePasses passes(document, *sequence->vvoiceList(), library);
    return passes.replaceUnknownVVoices() && passes.moveSingers(*sequence);
}

} // namespace kor
