#include "VoiceData.h"

#include "legacy/TextValues.h"
#include "legacy/TypedFile.h"

#include "platform/CodePage.h"

#include <algorithm>

namespace kor::voicedb {

namespace {

constexpr std::wstring_view kVoicePrefix = L"Voice ";
constexpr std::wstring_view kVirtualVoicePrefix = L"VirtualVoice ";
constexpr std::wstring_view kExpressionPrefix = L"Expression ";
constexpr std::wstring_view kUserFileVersion = L"1";

constexpr std::wstring_view kParamKeys[] = {L"Breathiness", L"Brightness", L"Clearness",
                                            L"GenderFactor", L"Opening"};

std::int32_t* paramField(DBM_VoiceParam& param, std::size_t index) {
    std::int32_t* fields[] = {&param.breathiness, &param.brightness, &param.clearness,
                              &param.genderFactor, &param.opening};
    return fields[index];
}

// A number the section must hold; nothing when the key is missing or empty.
std::optional<std::int32_t> requiredNumber(const CxEntryMap& section, std::wstring_view key) {
    const std::wstring* text = section.find(key);
    if (text == nullptr || text->empty()) return std::nullopt;
    return readNumber(*text);
}

std::optional<DBM_VoiceParam> readParam(const CxEntryMap& section) {
    DBM_VoiceParam param{};
    for (std::size_t i = 0; i < std::size(kParamKeys); ++i) {
        std::optional<std::int32_t> value = requiredNumber(section, kParamKeys[i]);
        if (!value) return std::nullopt;
        *paramField(param, i) = *value;
    }
    if (!isValidParam(param)) return std::nullopt;
    return param;
}

std::optional<Voice> readVoice(const CxEntryMap& section) {
    Voice voice{section.value(L"CompID"), section.value(L"Name"), {}};
    std::optional<DBM_VoiceParam> param = readParam(section);
    if (!param || !isValidCompId(voice.compID) || !isValidName(voice.name)) return std::nullopt;
    voice.param = *param;
    return voice;
}

std::optional<VirtualVoice> readVirtualVoice(const CxEntryMap& section,
                                             const std::vector<Voice>& voices) {
    std::optional<std::int32_t> bankSelect = requiredNumber(section, L"BankSelect");
    std::optional<std::int32_t> programChange = requiredNumber(section, L"ProgramChange");
    std::optional<DBM_VoiceParam> param = readParam(section);
    if (!bankSelect || !programChange || !param || !isValidKey(*bankSelect, *programChange))
        return std::nullopt;
    VirtualVoice voice{
        {*bankSelect, *programChange}, section.value(L"CompID"), section.value(L"Name"), *param};
    if (findVoice(voices, voice.compID) == nullptr || !isValidName(voice.name)) return std::nullopt;
    return voice;
}

std::optional<ExpItem> readExpItem(const CxEntryMap& section, std::wstring_view dataFolder) {
    std::optional<std::int32_t> id = requiredNumber(section, L"ID");
    std::optional<std::int32_t> type = requiredNumber(section, L"Type");
    std::wstring file = section.value(L"File");
    ExpItem item{id.value_or(0), type.value_or(DBM_EXP_VIBRATO), section.value(L"Caption"), {}};
    if (!id || file.empty() || !isValidName(item.caption)) return std::nullopt;
    if (file.front() == L'/')
        item.filePath = std::move(file);
    else
        item.filePath = std::wstring(dataFolder) + L"/" + file;
    if (item.filePath.size() >= DBM_PATH_SIZE) return std::nullopt;
    return item;
}

std::optional<VoiceKey> readDefault(const CxEntryMap* common, const EditableTables& tables) {
    if (common == nullptr) return std::nullopt;
    std::optional<std::int32_t> bankSelect = requiredNumber(*common, L"DefaultBankSelect");
    std::optional<std::int32_t> programChange = requiredNumber(*common, L"DefaultProgramChange");
    if (!bankSelect || !programChange) return std::nullopt;
    VoiceKey key{*bankSelect, *programChange};
    if (!tables.virtualVoices.contains(key)) return std::nullopt;
    return key;
}

void readVirtualVoices(const CxTypedFile& file, const std::vector<Voice>& voices,
                       std::map<VoiceKey, VirtualVoice>& virtualVoices) {
    for (const std::wstring& name : file.sectionNames()) {
        if (!name.starts_with(kVirtualVoicePrefix)) continue;
        if (std::optional<VirtualVoice> voice = readVirtualVoice(*file.section(name), voices))
            virtualVoices.try_emplace(voice->key, std::move(*voice));
    }
}

void appendEntry(std::wstring& text, std::wstring_view key, std::wstring_view value) {
    text.append(key).append(L"=").append(value).append(L"\n");
}

} // namespace

bool isValidKey(std::int32_t bankSelect, std::int32_t programChange) {
    return bankSelect >= 0 && bankSelect <= 127 && programChange >= 0 && programChange <= 127;
}

bool isValidParam(const DBM_VoiceParam& param) {
    for (std::int32_t value :
         {param.breathiness, param.brightness, param.clearness, param.genderFactor, param.opening})
        if (value < -127 || value > 127) return false;
    return true;
}

bool isValidCompId(std::wstring_view compID) {
    return compID.size() == kCompIdLength &&
           std::none_of(compID.begin(), compID.end(), [](wchar_t c) { return c <= 0x20; });
}

bool isValidName(std::wstring_view name) {
    return !name.empty() && name.size() <= kMaxNameLength &&
           std::none_of(name.begin(), name.end(), [](wchar_t c) {
               auto code = static_cast<std::uint32_t>(c);
               return code < 0x20 || code == 0x7F || (code >= 0xD800 && code <= 0xDFFF) ||
                      code > 0x10FFFF;
           });
}

const Voice* findVoice(const std::vector<Voice>& voices, std::wstring_view compID) {
    auto it = std::find_if(voices.begin(), voices.end(),
                           [compID](const Voice& voice) { return voice.compID == compID; });
    return it == voices.end() ? nullptr : &*it;
}

void readVoiceData(const CxTypedFile& file, std::wstring_view dataFolder,
                   std::vector<Voice>& voices, EditableTables& tables) {
    for (const std::wstring& name : file.sectionNames()) {
        if (!name.starts_with(kVoicePrefix)) continue;
        std::optional<Voice> voice = readVoice(*file.section(name));
        if (voice && findVoice(voices, voice->compID) == nullptr)
            voices.push_back(std::move(*voice));
    }
    readVirtualVoices(file, voices, tables.virtualVoices);
    tables.defaultVoice = readDefault(file.section(L"Common"), tables);
    for (const std::wstring& name : file.sectionNames()) {
        if (!name.starts_with(kExpressionPrefix)) continue;
        if (std::optional<ExpItem> item = readExpItem(*file.section(name), dataFolder))
            tables.expItems.try_emplace(item->id, std::move(*item));
    }
}

bool readUserVirtualVoices(const CxTypedFile& file, const std::vector<Voice>& voices,
                           EditableTables& tables) {
    const CxEntryMap* common = file.section(L"Common");
    if (common == nullptr || common->value(L"Version") != kUserFileVersion) return false;
    std::map<VoiceKey, VirtualVoice> virtualVoices;
    readVirtualVoices(file, voices, virtualVoices);
    tables.virtualVoices = std::move(virtualVoices);
    tables.defaultVoice = readDefault(common, tables);
    return true;
}

std::string writeVirtualVoices(const EditableTables& tables) {
    std::wstring text = L"[Common]\n";
    appendEntry(text, L"Version", kUserFileVersion);
    if (tables.defaultVoice) {
        appendEntry(text, L"DefaultBankSelect", std::to_wstring(tables.defaultVoice->first));
        appendEntry(text, L"DefaultProgramChange", std::to_wstring(tables.defaultVoice->second));
    }
    for (const auto& [key, voice] : tables.virtualVoices) {
        text.append(L"\n[").append(kVirtualVoicePrefix);
        text.append(std::to_wstring(key.first) + L"," + std::to_wstring(key.second) + L"]\n");
        appendEntry(text, L"BankSelect", std::to_wstring(key.first));
        appendEntry(text, L"ProgramChange", std::to_wstring(key.second));
        appendEntry(text, L"CompID", voice.compID);
        appendEntry(text, L"Name", voice.name);
        DBM_VoiceParam param = voice.param;
        for (std::size_t i = 0; i < std::size(kParamKeys); ++i)
            appendEntry(text, kParamKeys[i], std::to_wstring(*paramField(param, i)));
    }
    // Names are checked to be Unicode when they come in, so every character has a UTF-8 form.
    return platform::encodeUtf8(text).value_or(std::string());
}

} // namespace kor::voicedb
