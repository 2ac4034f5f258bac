#include "legacy/SongConverter.h"

#include "model/KorDocument.h"
#include "model/KorRoot.h"
#include "model/MusicalNote.h"
#include "model/MusicalPart.h"
#include "model/MusicalSinger.h"
#include "model/Sequence.h"
#include "model/VVoice.h"
#include "model/ZRTrack.h"
#include "platform/Path.h"

#include <korman/ErrorCodes.h>

#include <algorithm>
#include <filesystem>
#include <optional>

std::uint32_t CxSongConverter::begin(const std::wstring& path, const CZRKorDocument& target) {
    status_ = 0;
    message_.clear();
    if (!kor::isPlainFile(path)) {
        status_ = kStatusNotFound;
        return ZR_E_FILE_NOT_FOUND;
    }
    return target.root() != nullptr || target.objects().size() != 0 ? ZR_E_INVALID_PARAMETER : 0;
}

std::uint32_t CxSongConverter::fail(int status, std::uint32_t code, CZRKorDocument& target) {
    status_ |= status;
    target.setRoot(nullptr);
    target.objects().clear();
    return code;
}

CZRSequence* CxSongConverter::startSong(CZRKorDocument& target) {
    const ZRCreateContext context = target.context();
    auto* root = kor::createObject<CZRKorRoot>(context, ZR_NO_OBJ_ID);
    CZRSequence* sequence = kor::buildEmptySequence(context);
    if (root == nullptr || sequence == nullptr || !root->setSequence(sequence)) return nullptr;
    target.setRoot(root);
    return sequence;
}

bool CxSongConverter::addLibraryVoices(CZRSequence& sequence, const ZRCreateContext& context) {
    for (const auto& [key, voice] : voices_) {
        auto* vvoice = kor::createObject<CZRVVoice>(
            context, ZR_NO_OBJ_ID,
            ZRVVoiceValues{voice.vBS, voice.vPC, voice.compID, voice.name, voice.param});
        if (vvoice == nullptr || !sequence.vvoiceList()->append(vvoice)) return false;
    }
    return true;
}

CZRMusicalPart* CxSongConverter::addSourceTrack(const ZRCreateContext& context,
                                                CZRSequence& sequence, std::int32_t trackNo,
                                                const std::wstring& name, int singerBS,
                                                int singerPC,
                                                const std::vector<kor::SourceNote>& notes) {
    CZRZRTrack* track = kor::addZRTrack(context, sequence, trackNo, name, L"");
    if (track == nullptr) return nullptr;
    std::int32_t start = 0;
    std::int32_t end = 0;
    if (!notes.empty()) {
        start = notes.front().tick;
        for (const kor::SourceNote& note : notes)
            end = std::max(end, note.tick + note.length);
    }
    const std::int32_t playTime = std::max(end - start, CZRPart::kMinPlayTime);
    CZRMusicalPart* part = kor::buildMusicalPart(context, ZRPartValues{start, playTime, L"", L""},
                                                 voices_, defaultVoice_);
    if (part == nullptr) return nullptr;
    if (!track->partList()->append(part)) {
        context.registry.destroy(part->getObjID());
        return nullptr;
    }
    auto* singer = kor::objCast<CZRMusicalSinger>(part->singerList()->elementAt(0));
    if (singer == nullptr) return nullptr;
    singer->values().vBS = singerBS;
    singer->values().vPC = singerPC;
    for (const kor::SourceNote& source : notes) {
        auto* note = kor::createObject<CZRMusicalNote>(
            context, ZR_NO_OBJ_ID,
            ZRMusicalNoteValues{source.tick - start,
                                source.length,
                                source.key,
                                source.velocity,
                                0,
                                source.lyric.empty() ? L"a" : source.lyric,
                                {L"a"}});
        if (note == nullptr || !part->noteList()->append(note) ||
            !kor::completeNoteStyle(context, *note))
            return nullptr;
    }
    return part;
}

std::wstring CxSongConverter::fileTitle(const std::wstring& path) {
    return std::wstring(kor::platform::withoutExtension(kor::platform::fileNamePart(path)));
}

namespace kor {

bool isPlainFile(const std::wstring& path) {
    const std::optional<std::filesystem::path> fsPath = platform::toPath(path);
    std::error_code error;
    return fsPath && std::filesystem::is_regular_file(*fsPath, error);
}

} // namespace kor
