#include "manager/NewSequence.h"

#include "model/KorRoot.h"
#include "model/MasterTrack.h"
#include "model/MusicalPart.h"
#include "model/MusicalSinger.h"
#include "model/Sequence.h"
#include "model/Tempo.h"
#include "model/TimeSig.h"
#include "model/VVoice.h"
#include "model/ZRTrack.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "platform/TempFile.h"

#include <korman/ErrorCodes.h>

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

bool addDefaultContent(CZRSequence& sequence, const NewSongSettings& song,
                       const VVoiceTable& vvoices, const ZRCreateContext& context) {
    CZRMasterTrack& master = *sequence.masterTrack();
    if (song.name != nullptr) master.setSeqName(song.name);
    if (song.comment != nullptr) master.setComment(song.comment);
    master.setPreMeasure(song.preMeasure);

    auto* signature = createObject<CZRTimeSig>(context, ZR_NO_OBJ_ID, ZRTimeSigValues{0, 4, 4});
    auto* tempo = createObject<CZRTempo>(context, ZR_NO_OBJ_ID, ZRTempoValues{0, 12000});
    if (signature == nullptr || tempo == nullptr ||
        !master.timeSigList()->insertSorted(signature) ||
        !master.tempoList()->insertSorted(tempo) ||
        addZRTrack(context, sequence, 0, L"Track", L"Track") == nullptr)
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

std::unique_ptr<CZRKorDocument> buildNewDocument(const NewSongSettings& song,
                                                 const VVoiceTable& vvoices,
                                                 const std::wstring& tempFolder,
                                                 std::uint32_t& error) {
    error = ZR_E_NOT_ENOUGH_MEMORY;
    auto document = std::make_unique<CZRKorDocument>();
    const ZRCreateContext context = document->context();
    auto* root = createObject<CZRKorRoot>(context, ZR_NO_OBJ_ID);
    if (root == nullptr) return nullptr;
    document->setRoot(root);

    const auto tempPath = temporarySongPath(tempFolder);
    if (!tempPath) {
        error = ZR_E_CANNOT_CREATE_TEMPORARY_FOLDER;
        return nullptr;
    }
    document->tempFilePath = *tempPath;

    CZRSequence* sequence = buildEmptySequence(context);
    if (sequence == nullptr || !root->setSequence(sequence) ||
        !addDefaultContent(*sequence, song, vvoices, context))
        return nullptr;
    error = 0;
    return document;
}

bool addFirstMusicalPart(CZRKorDocument& document, const FirstPartSettings& first,
                         const VVoiceTable& vvoices, const ZRVVoiceLib& defaultVoice) {
    CZRSequence* sequence = document.root()->sequence();
    CZRZRTrack* track = kor::objCast<CZRZRTrack>(sequence->zrTrackList()->elementAt(0));
    if (track == nullptr) return false;

    const ZRPartValues values{sequence->masterTrack()->getPreMeasure() * kMeasureTicks,
                              first.playTime, first.name != nullptr ? first.name : L"",
                              first.comment != nullptr ? first.comment : L""};
    CZRMusicalPart* part = buildMusicalPart(document.context(), values, vvoices, defaultVoice);
    if (part == nullptr) return false;
    if (first.singer) {
        auto* singer = kor::objCast<CZRMusicalSinger>(part->singerList()->elementAt(0));
        if (singer == nullptr) return false;
        singer->values().vBS = first.singer->first;
        singer->values().vPC = first.singer->second;
    }
    return track->partList()->insertSorted(part);
}

} // namespace kor
