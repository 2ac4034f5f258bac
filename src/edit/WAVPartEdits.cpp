#include "edit/WAVPartEdits.h"

#include "edit/EditMessages.h"
#include "edit/EditRecords.h"
#include "edit/EditSupport.h"
#include "model/WAVPartFiles.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "platform/WaveLayout.h"

#include <limits>
#include <optional>

namespace kor {

namespace {

constexpr std::int32_t kSampleReso = 16;
constexpr std::int32_t kOneSecond = 65536;
// Tried before giving up on finding a free name for a copied file.
constexpr int kMaxNameTries = 10000;

bool isPartRate(std::uint32_t rate) {
    return rate == 44100 || rate == 48000 || rate == 96000;
}

const CZRMasterTrack* masterTrack(const EditSession& session) {
    const CZRSequence* sequence = editedSequence(session);
    return sequence != nullptr ? sequence->masterTrack() : nullptr;
}

/// ZR_E_INVALID_PART_DURATION, explained, when a part from `posTick` lasting `durTick` ends
/// beyond the policy's upper tick limit.
std::uint32_t checkPartEnd(const EditSession& session, std::int32_t posTick, std::int32_t durTick) {
    return endsPastTickLimit(session, posTick, durTick)
               ? pastTickLimit(session, ZR_E_INVALID_PART_DURATION, L"WAV part", posTick, durTick)
               : 0;
}

/// ZR_E_INVALID_PART_PLAY_TIME, explained, for a play time shorter than a part's shortest.
std::uint32_t checkPlayTime(const EditSession& session, std::int32_t playTime) {
    return playTime >= CZRPart::kMinPlayTime
               ? 0
               : outOfRange(session, ZR_E_INVALID_PART_PLAY_TIME, playTime, CZRPart::kMinPlayTime,
                            kNoLimit);
}

/// The length in ticks of `part`'s audio when it starts at `posTick`; its stored length when the
/// tempos cannot convert it.
std::int32_t ticksFrom(const EditSession& session, const CZRWAVPart& part, std::int32_t posTick) {
    return secDurationToTicks(masterTrack(session), posTick, part.getDurSec())
        .value_or(part.getDurTick());
}

/// A name for the copy of `source` in `folder`: its own file name when that is free or already
/// names `source` itself, or, unless `replace`, the first free "<name>_<n><ext>". nullopt when no
/// name is free.
std::optional<std::wstring> nameInFolder(const std::wstring& source, const std::wstring& folder,
                                         bool replace) {
    const std::wstring_view name = platform::fileNamePart(source);
    const std::wstring target = platform::joinPath(folder, name);
    if (replace || !platform::fileAttributes(target) || platform::isSameFile(source, target))
        return std::wstring(name);
    const std::wstring_view extension = platform::extensionPart(name);
    const std::wstring_view stem = name.substr(0, name.size() - extension.size());
    for (int n = 2; n < kMaxNameTries; ++n) {
        std::wstring candidate = std::wstring(stem) + L'_' + std::to_wstring(n);
        candidate += extension;
        if (!platform::fileAttributes(platform::joinPath(folder, candidate))) return candidate;
    }
    return std::nullopt;
}

/// Copies the audio file `source` into the WAV parts folder of the edited song, made when
/// missing, and gives the name the copy has there; nullopt when it cannot be stored.
std::optional<std::wstring> storeInPartsFolder(const EditSession& session,
                                               const std::wstring& source, bool replace) {
    const std::wstring folder = wavPartsFolder(session.document());
    if (folder.empty()) return std::nullopt;
    const auto existing = platform::fileAttributes(folder);
    if (existing ? !existing->directory : !platform::createDirectory(folder)) return std::nullopt;

    std::optional<std::wstring> name = nameInFolder(source, folder, replace);
    if (!name) return std::nullopt;
    const std::wstring target = platform::joinPath(folder, *name);
    if (platform::isSameFile(source, target)) return name;
    if (!platform::copyFile(source, target, replace)) return std::nullopt;
    return name;
}

/// What a new WAV part is made of, besides the file it plays.
struct NewWAVPart {
    std::int32_t posTick = 0;
    std::wstring name;
    std::wstring comment;
    bool replace = false;
};

std::uint32_t insertFromFile(EditSession& session, const CZRNodeList& list,
                             const std::wstring& filePath, NewWAVPart part) {
    if (filePath.empty())
        return session.explain(ZR_E_INVALID_WAVE_FILE_PATH, L"The WAV file path is empty.");
    const std::optional<platform::WaveLayout> wave = platform::readWaveLayout(filePath);
    if (!wave)
        return session.explain(ZR_E_INVALID_WAVE_FILE, L"%ls cannot be read as a PCM WAV file.",
                               filePath.c_str());
    const platform::WaveFormat& format = wave->format;
    if (!isPartRate(format.samplesPerSec))
        return session.explain(ZR_E_INVALID_WAVE_SAMPLING_RATE,
                               L"%ls plays %u samples a second; a WAV part plays 44100, 48000 or "
                               L"96000.",
                               filePath.c_str(), format.samplesPerSec);
    if (format.bitsPerSample != kSampleReso)
        return session.explain(ZR_E_INVALID_WAVE_SAMPLING_RESOLUTION,
                               L"%ls holds %u-bit samples; a WAV part holds %d-bit samples.",
                               filePath.c_str(), static_cast<unsigned>(format.bitsPerSample),
                               kSampleReso);
    const CZRMasterTrack* master = masterTrack(session);
    if (master == nullptr) return ZR_E_NO_MASTER_TRACK;

    const std::int64_t durSec =
        std::int64_t{wave->frameCount()} * kOneSecond / format.samplesPerSec;
    if (durSec <= 0 || durSec > std::numeric_limits<std::int32_t>::max())
        return session.explain(ZR_E_INVALID_WAVE_FILE_DURATION, L"%ls holds %u sample frames, %ls.",
                               filePath.c_str(), static_cast<unsigned>(wave->frameCount()),
                               durSec <= 0 ? L"too few to play" : L"more than a part can play");
    if (const std::uint32_t code = checkPartStart(session, part.posTick)) return code;
    const std::optional<std::int32_t> durTick =
        secDurationToTicks(master, part.posTick, static_cast<std::int32_t>(durSec));
    if (!durTick)
        return session.explain(ZR_E_INVALID_PART_PLAY_TIME,
                               L"The tempos give %ls no length in ticks.", filePath.c_str());
    if (const std::uint32_t code = checkPlayTime(session, *durTick)) return code;
    if (const std::uint32_t code = checkPartEnd(session, part.posTick, *durTick)) return code;
    // Either audio track plays mono and stereo files alike; the part keeps the file's layout.
    if (format.channels != 1 && format.channels != 2)
        return session.explain(ZR_E_INVALID_WAVE_CHANNELS,
                               L"%ls has %u channels; a WAV part plays 1 or 2.", filePath.c_str(),
                               static_cast<unsigned>(format.channels));
    const std::int32_t maxParts = session.policy().maxPartsPerTrack;
    if (maxParts != -1 && list.getCount() >= static_cast<std::uint32_t>(maxParts))
        return session.explain(ZR_E_OUT_OF_WAV_PART_NUMBER,
                               L"The track holds %u WAV parts, the most the policy's "
                               L"maxPartsPerTrack allows.",
                               list.getCount());

    ListEdit<CZRWAVPart> edit;
    if (const std::uint32_t code =
            editList<CZREditWAVPartList>(session, &list, ZR_NO_OBJ_ID, false, edit))
        return code;
    std::optional<std::wstring> stored = storeInPartsFolder(session, filePath, part.replace);
    if (!stored)
        return session.explain(ZR_E_CANNOT_SAVE_WAV_FILE,
                               L"%ls cannot be copied into the song's WAV parts folder %ls.",
                               filePath.c_str(), wavPartsFolder(session.document()).c_str());
    CZRWAVPart* created = insertNew(
        edit,
        ZRWAVPartValues{{part.posTick, *durTick, std::move(part.name), std::move(part.comment)},
                        static_cast<std::int32_t>(format.samplesPerSec),
                        kSampleReso,
                        format.channels,
                        std::move(*stored),
                        static_cast<std::int32_t>(durSec)});
    if (created == nullptr) return ZR_E_UPDATE_FAILED;
    created->part().setDurTick(*durTick);
    edit.record->addChange({created->getObjID(), kMusicalInserted, part.posTick});
    session.noteInserted(created->getObjID());
    edit.record->addChange({list.getObjID(), kMusicalChanged, 0});
    return 0;
}

} // namespace

std::uint32_t updateWAVPart(EditSession& session, std::uint32_t partID,
                            const ZRWAVPartValue& value) {
    const auto* live = liveObject<CZRWAVPart>(session, partID);
    if (live == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    if (const std::uint32_t code = checkPlayTime(session, value.playTime)) return code;
    ElementEdit<CZRWAVPart> edit;
    if (const std::uint32_t code = editElement<CZREditWAVPart>(session, live, edit)) return code;
    CZRPart& part = edit.object->part();
    part.setPlayTime(value.playTime);
    part.setName(value.name);
    part.setComment(value.comment);
    edit.record->addChange({partID, kMusicalChanged, part.getPosTick()});
    return 0;
}

std::uint32_t moveWAVPart(EditSession& session, std::uint32_t partID, const ZRWAVPartValue& value) {
    const auto* live = liveObject<CZRWAVPart>(session, partID);
    if (live == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    if (const std::uint32_t code = checkPartStart(session, value.posTick)) return code;
    if (const std::uint32_t code = checkPlayTime(session, value.playTime)) return code;
    if (const std::uint32_t code =
            checkPartEnd(session, value.posTick, ticksFrom(session, *live, value.posTick)))
        return code;
    ListEdit<CZRWAVPart> edit;
    if (const std::uint32_t code =
            editList<CZREditWAVPartList>(session, parentList(*live), partID, false, edit))
        return code;

    CZRPart& part = edit.element->part();
    const std::int32_t oldPos = part.getPosTick();
    part.setValues({value.posTick, value.playTime, value.name, value.comment});
    part.setDurTick(ticksFrom(session, *edit.element, value.posTick));
    edit.list->sortByKey();
    edit.record->addChange({partID, kMusicalChanged, value.posTick});
    edit.record->addChange({partID, kMusicalChanged, oldPos});
    edit.record->addChange({edit.list->getObjID(), kMusicalChanged, 0});
    return 0;
}

std::uint32_t insertWAVPartFromFile(EditSession& session, std::uint32_t listID,
                                    std::int32_t posTick, const std::wstring& filePath,
                                    std::int32_t replace) {
    const CZRNodeList* list = liveListOf<CZREditWAVPartList>(session, listID);
    if (list == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    const std::wstring_view fileName = platform::fileNamePart(filePath);
    return insertFromFile(session, *list, filePath,
                          {posTick,
                           std::wstring(fileName.substr(
                               0, fileName.size() - platform::extensionPart(fileName).size())),
                           L"", replace != 0});
}

std::uint32_t importWAVPart(EditSession& session, std::uint32_t listID, std::int32_t posTick,
                            std::uint32_t sourceID) {
    const CZRNodeList* list = liveListOf<CZREditWAVPartList>(session, listID);
    if (list == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    const CZRKorDocument* imported = session.host().importedDocument();
    const IZRKorObject* source =
        imported != nullptr ? imported->objects().lookup(sourceID) : nullptr;
    if (source == nullptr) return ZR_E_IMPORT_SOURCE_NOT_FOUND;
    const auto* wav = objCast<CZRWAVPart>(source);
    if (wav == nullptr) return ZR_E_EDIT_TARGET_WRONG_TYPE;
    return insertFromFile(session, *list, actualWAVFilePath(*imported, *wav),
                          {posTick, wav->getName(), wav->getComment(), false});
}

std::uint32_t deleteWAVPart(EditSession& session, std::uint32_t partID) {
    return removeFromList<CZREditWAVPartList, CZRWAVPart>(session, partID, kMusicalDeleted,
                                                          kMusicalChanged);
}

} // namespace kor
