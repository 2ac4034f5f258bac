#include "model/DumpFormat.h"

#include <korman/IZRNodeList.h>

#include <cstdarg>
#include <cwchar>
#include <vector>

namespace kor {

namespace {

// Each object type's dump label and its kind in a user's words.
struct TypeNames {
    ZRObjType type;
    const wchar_t* label;
    const wchar_t* kind;
};

constexpr TypeNames kTypeNames[] = {
    {ZRObjType::NodeList, L"CZRNodeList {", L"list"},
    {ZRObjType::TimeSig, L"CZRTimeSig {", L"time signature"},
    {ZRObjType::Tempo, L"CZRTempo {", L"tempo"},
    {ZRObjType::MusicalNote, L"CZRMusicalNote {", L"note"},
    {ZRObjType::NoteStyleAttrib, L"CZRNoteStyleAttrib {", L"note style"},
    {ZRObjType::NoteStyleSeqAttrib, L"CZRNoteStyleSeqAttrib {", L"note curve style"},
    {ZRObjType::NoteStyleSeqAttribElement, L"CZRNoteStyleSeqAttribElement {", L"curve point"},
    {ZRObjType::MusicalSinger, L"CZRMusicalSinger {", L"singer"},
    {ZRObjType::MusicalControl, L"CZRMusicalControl {", L"musical control"},
    {ZRObjType::StyleControl, L"CZRStyleControl {", L"style control"},
    {ZRObjType::ProsodyPhoneme, L"CZRProsodyPhoneme {", L"prosody phoneme"},
    {ZRObjType::ProsodyVoice, L"CZRProsodyVoice {", L"prosody voice"},
    {ZRObjType::ProsodyElement, L"CZRProsodyElement {", L"prosody element"},
    {ZRObjType::ProsodyControl, L"CZRProsodyControl {", L"prosody control"},
    {ZRObjType::StylePlugin, L"CZRStylePlugin {", L"style plug-in"},
    {ZRObjType::StylePluginAttribInfo, L"CZRStylePluginAttribInfo {", L"style plug-in attribute"},
    {ZRObjType::PartStyleAttrib, L"CZRPartStyleAttrib {", L"part style"},
    {ZRObjType::Part, L"CZRPart {", L"part"},
    {ZRObjType::MusicalPart, L"CZRMusicalPart {", L"musical part"},
    {ZRObjType::ProsodyPart, L"CZRProsodyPart {", L"prosody part"},
    {ZRObjType::WAVPart, L"CZRWAVPart {", L"WAV part"},
    {ZRObjType::MasterTrack, L"CZRMasterTrack {", L"master track"},
    {ZRObjType::ZRTrack, L"CZRZRTrack {", L"ZR track"},
    {ZRObjType::WAVTrack, L"CZRWAVTrack {", L"WAV track"},
    {ZRObjType::VVoice, L"CZRVVoice {", L"VVoice"},
    {ZRObjType::VstPlugin, L"CZRVstPlugin {", L"VST plug-in"},
    {ZRObjType::MasterUnit, L"CZRMasterUnit {", L"master unit"},
    {ZRObjType::ZRUnit, L"CZRZRUnit {", L"ZR unit"},
    {ZRObjType::SEUnit, L"CZRSEUnit {", L"SE unit"},
    {ZRObjType::KaraokeUnit, L"CZRKaraokeUnit {", L"karaoke unit"},
    {ZRObjType::Mixer, L"CZRMixer {", L"mixer"},
    {ZRObjType::Aux, L"CZRAux {", L"aux record"},
    {ZRObjType::UnManaged, L"CZRUnManaged {", L"unmanaged data"},
    {ZRObjType::Sequence, L"CZRSequence {", L"sequence"},
    {ZRObjType::KorRoot, L"CZRKorRoot {", L"song root"},
};

const TypeNames* namesOf(ZRObjType type) {
    for (const TypeNames& names : kTypeNames)
        if (names.type == type) return &names;
    return nullptr;
}

} // namespace

const wchar_t* dumpLabel(ZRObjType type) {
    const TypeNames* names = namesOf(type);
    return names != nullptr ? names->label : L"{";
}

const wchar_t* kindName(ZRObjType type) {
    const TypeNames* names = namesOf(type);
    return names != nullptr ? names->kind : L"object";
}

std::wstring objectName(const IZRKorObject& object) {
    const auto* list = dynamic_cast<const IZRNodeList*>(&object);
    if (list == nullptr) return kindName(object.getObjType());
    const auto elements = static_cast<ZRObjType>(list->getListType());
    return elements == ZRObjType::NodeList ? std::wstring(L"list")
                                           : std::wstring(kindName(elements)) + L" list";
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
