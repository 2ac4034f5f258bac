#include "manager/NewSequence.h"

#include "model/KorRoot.h"
#include "model/MasterTrack.h"
#include "model/Mixer.h"
#include "model/MusicalPart.h"
#include "model/MusicalSinger.h"
#include "model/Sequence.h"
#include "model/Tempo.h"
#include "model/TimeSig.h"
#include "model/VVoice.h"
#include "model/ZRTrack.h"
#include "model/ZRUnit.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "platform/TempFile.h"

namespace kor {
namespace {

constexpr std::int32_t kMeasureTicks = 1920; // one 4/4 measure at 480 ticks per quarter note

// A fresh name for the unsaved song's file: the unique name the temporary folder hands out, with
// the song extension in place of its own. The placeholder file itself is not kept.
std::optional<std::wstring> temporarySongPath(const std::wstring& tempFolder) {
    std::wstring path;
    if (platform::createTempFile(tempFolder, L"Kor", path)) return std::nullopt;
    (void)platform::deleteFile(path);
    return std::wstring(platform::withoutExtension(path)) + L".korx";
}

CZRNodeList* createList(const ZRCreateContext& context, ZRObjType elementType) {
    CZRNodeList* list = createObject<CZRNodeList>(context, ZR_NO_OBJ_ID);
    if (list != nullptr) list->setListType(static_cast<std::int32_t>(elementType), -1);
    return list;
}

// The song's first singing track, "Track", and its mixer channel at centre pan with a silent send.
bool addDefaultTrack(CZRSequence& sequence, const ZRCreateContext& context) {
    auto* track = createObject<CZRZRTrack>(context, ZR_NO_OBJ_ID, ZRZRTrackValues{L"Track", L"Track", 0});
    auto* parts = createList(context, ZRObjType::Part);
    auto* unit = createObject<CZRZRUnit>(context, ZR_NO_OBJ_ID,
                                         ZRZRUnitValues{0, 0, -898, 0, 0, 0, 64, 0});
    auto* plugins = createList(context, ZRObjType::VstPlugin);
    return track != nullptr && parts != nullptr && unit != nullptr && plugins != nullptr &&
           track->setPartList(parts) && sequence.zrTrackList()->insertSorted(track) &&
           unit->setVstList(0, plugins) && sequence.mixer()->zrUnitList()->insertSorted(unit);
}

bool addDefaultContent(CZRSequence& sequence, const NewSequenceSpec& spec,
                       const VVoiceTable& vvoices, const ZRCreateContext& context) {
    CZRMasterTrack& master = *sequence.masterTrack();
    if (spec.name != nullptr) master.setSeqName(spec.name);
    if (spec.comment != nullptr) master.setComment(spec.comment);
    master.setPreMeasure(spec.preMeasure);

    auto* signature = createObject<CZRTimeSig>(context, ZR_NO_OBJ_ID, ZRTimeSigValues{0, 4, 4});
    auto* tempo = createObject<CZRTempo>(context, ZR_NO_OBJ_ID, ZRTempoValues{0, 12000});
    if (signature == nullptr || tempo == nullptr || !master.timeSigList()->insertSorted(signature) ||
        !master.tempoList()->insertSorted(tempo) || !addDefaultTrack(sequence, context))
        return false;

    for (const auto& [key, voice] : vvoices) {
        auto* vvoice = createObject<CZRVVoice>(
            context, ZR_NO_OBJ_ID,
            ZRVVoiceValues{voice.vBS, voice.vPC, voice.compID, voice.name, voice.param});
        if (vvoice == nullptr || !sequence.vvoiceList()->insertSorted(vvoice)) return false;
    }
    return true;
}

} // namespace

std::unique_ptr<CZRKorDocument> buildNewDocument(const NewSequenceSpec& spec,
                                                 const VVoiceTable& vvoices,
                                                 const std::wstring& tempFolder) {
    auto document = std::make_unique<CZRKorDocument>();
    const ZRCreateContext context = document->context();
    auto* root = createObject<CZRKorRoot>(context, ZR_NO_OBJ_ID);
    if (root == nullptr) return nullptr;
    document->setRoot(root);

    const auto tempPath = temporarySongPath(tempFolder);
    if (!tempPath) return nullptr;
    document->tempFilePath = *tempPath;

    CZRSequence* sequence = buildEmptySequence(context);
    if (sequence == nullptr || !root->setSequence(sequence) ||
        !addDefaultContent(*sequence, spec, vvoices, context))
        return nullptr;
    return document;
}

bool addFirstMusicalPart(CZRKorDocument& document, const FirstPartSpec& spec,
                         const VVoiceTable& vvoices, const ZRVVoiceLib& defaultVoice) {
    CZRSequence* sequence = document.root()->sequence();
    CZRZRTrack* track = kor::objCast<CZRZRTrack>(sequence->zrTrackList()->elementAt(0));
    if (track == nullptr) return false;

    const ZRPartValues values{sequence->masterTrack()->getPreMeasure() * kMeasureTicks,
                              spec.playTime, spec.name != nullptr ? spec.name : L"",
                              spec.comment != nullptr ? spec.comment : L""};
    const ZRCreateContext context = document.context();
    CZRMusicalPart* part = buildMusicalPart(context, values, vvoices, defaultVoice);
    if (part == nullptr) return false;
    if (spec.singer) {
        auto* first = kor::objCast<CZRMusicalSinger>(part->singerList()->elementAt(0));
        if (first == nullptr) return false;
        first->values().vBS = spec.singer->first;
        first->values().vPC = spec.singer->second;
    }
    return track->partList()->insertSorted(part);
}

} // namespace kor
