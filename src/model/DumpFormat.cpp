#include "model/DumpFormat.h"

#include <cstdarg>
#include <cwchar>
#include <vector>

namespace kor {

const wchar_t* dumpLabel(ZRObjType type) {
    switch (type) {
    case ZRObjType::NodeList:
        return L"CZRNodeList {";
    case ZRObjType::TimeSig:
        return L"CZRTimeSig {";
    case ZRObjType::Tempo:
        return L"CZRTempo {";
    case ZRObjType::MusicalNote:
        return L"CZRMusicalNote {";
    case ZRObjType::NoteStyleAttrib:
        return L"CZRNoteStyleAttrib {";
    case ZRObjType::NoteStyleSeqAttrib:
        return L"CZRNoteStyleSeqAttrib {";
    case ZRObjType::NoteStyleSeqAttribElement:
        return L"CZRNoteStyleSeqAttribElement {";
    case ZRObjType::MusicalSinger:
        return L"CZRMusicalSinger {";
    case ZRObjType::MusicalControl:
        return L"CZRMusicalControl {";
    case ZRObjType::StyleControl:
        return L"CZRStyleControl {";
    case ZRObjType::ProsodyPhoneme:
        return L"CZRProsodyPhoneme {";
    case ZRObjType::ProsodyVoice:
        return L"CZRProsodyVoice {";
    case ZRObjType::ProsodyElement:
        return L"CZRProsodyElement {";
    case ZRObjType::ProsodyControl:
        return L"CZRProsodyControl {";
    case ZRObjType::StylePlugin:
        return L"CZRStylePlugin {";
    case ZRObjType::StylePluginAttribInfo:
        return L"CZRStylePluginAttribInfo {";
    case ZRObjType::PartStyleAttrib:
        return L"CZRPartStyleAttrib {";
    case ZRObjType::Part:
        return L"CZRPart {";
    case ZRObjType::MusicalPart:
        return L"CZRMusicalPart {";
    case ZRObjType::ProsodyPart:
        return L"CZRProsodyPart {";
    case ZRObjType::WAVPart:
        return L"CZRWAVPart {";
    case ZRObjType::MasterTrack:
        return L"CZRMasterTrack {";
    case ZRObjType::ZRTrack:
        return L"CZRZRTrack {";
    case ZRObjType::WAVTrack:
        return L"CZRWAVTrack {";
    case ZRObjType::VVoice:
        return L"CZRVVoice {";
    case ZRObjType::VstPlugin:
        return L"CZRVstPlugin {";
    case ZRObjType::MasterUnit:
        return L"CZRMasterUnit {";
    case ZRObjType::ZRUnit:
        return L"CZRZRUnit {";
    case ZRObjType::SEUnit:
        return L"CZRSEUnit {";
    case ZRObjType::KaraokeUnit:
        return L"CZRKaraokeUnit {";
    case ZRObjType::Mixer:
        return L"CZRMixer {";
    case ZRObjType::Aux:
        return L"CZRAux {";
    case ZRObjType::UnManaged:
        return L"CZRUnManaged {";
    case ZRObjType::Sequence:
        return L"CZRSequence {";
    case ZRObjType::KorRoot:
        return L"CZRKorRoot {";
    }
    return L"{";
}

void dumpCore(std::wstring& out, const IZRKorObject& obj) {
    out += L"{";
    const auto id = static_cast<int>(obj.getObjID());
    const auto type = static_cast<int>(obj.getObjType());
    if (const IZRKorObject* parent = obj.getParent())
        appendFormat(out, L" objID=%d objType=%d parentObjID=%d ", id, type,
                     static_cast<int>(parent->getObjID()));
    else
        appendFormat(out, L" objID=%d objType=%d parentObjID=NULL ", id, type);
    out += L"} ";
}

void appendFormat(std::wstring& out, const wchar_t* format, ...) {
    std::vector<wchar_t> buffer(256);
    for (;;) {
        std::va_list args;
        va_start(args, format);
        const int written = std::vswprintf(buffer.data(), buffer.size(), format, args);
        va_end(args);
        if (written >= 0 && static_cast<std::size_t>(written) < buffer.size()) {
            out.append(buffer.data(), static_cast<std::size_t>(written));
            return;
        }
        // vswprintf reports only failure, not the length it needed: grow and try again. A format
        // that fails for another reason (an unencodable character) stops at a sane bound.
        if (buffer.size() >= (std::size_t{1} << 20)) return;
        buffer.resize(buffer.size() * 4);
    }
}

} // namespace kor
