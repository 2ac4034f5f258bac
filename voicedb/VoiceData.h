// The tables of the voice database and their INI-like text form.
#pragma once

#include "korvoicedb/DbmApi.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CxTypedFile;

namespace kor::voicedb {

/// A bank select and program change, each 0 to 127.
using VoiceKey = std::pair<std::int32_t, std::int32_t>;

/// The most virtual voices the database holds: one per bank select and program change.
inline constexpr std::size_t kMaxVirtualVoices = 128 * 128;

/// The number of characters of a component ID.
inline constexpr std::size_t kCompIdLength = DBM_COMP_ID_SIZE - 1;
/// The longest name, in characters.
inline constexpr std::size_t kMaxNameLength = DBM_NAME_SIZE - 1;

struct Voice {
    std::wstring compID;
    std::wstring name;
    DBM_VoiceParam param{};
};

struct VirtualVoice {
    VoiceKey key{};
    std::wstring compID;
    std::wstring name;
    DBM_VoiceParam param{};
};

struct ExpItem {
    std::int32_t id = 0;
    std::int32_t type = DBM_EXP_VIBRATO;
    std::wstring caption;
    std::wstring filePath; // absolute
};

/// What an editing session can change, and so what a roll-back restores.
struct EditableTables {
    std::map<VoiceKey, VirtualVoice> virtualVoices;
    std::optional<VoiceKey> defaultVoice;
    std::map<std::int32_t, ExpItem> expItems;
};

bool isValidKey(std::int32_t bankSelect, std::int32_t programChange);
bool isValidParam(const DBM_VoiceParam& param);
bool isValidCompId(std::wstring_view compID);
/// A name of 1 to kMaxNameLength Unicode characters without control characters, so that it
/// survives a line of the UTF-8 text form.
bool isValidName(std::wstring_view name);

/// The voice with `compID`, or null. Borrowed from `voices`.
const Voice* findVoice(const std::vector<Voice>& voices, std::wstring_view compID);

/// Reads the shipped voice data: the voices ("Voice ..." sections), the virtual voices
/// ("VirtualVoice ..." sections), the default virtual voice ("Common": "DefaultBankSelect",
/// "DefaultProgramChange") and the expression items ("Expression ..." sections, whose "File" is
/// relative to `dataFolder`). Records that are incomplete, out of range, of unknown voices or
/// with a key already seen are left out.
void readVoiceData(const CxTypedFile& file, std::wstring_view dataFolder,
                   std::vector<Voice>& voices, EditableTables& tables);

/// Reads the virtual voices and the default of a user file written by writeVirtualVoices over
/// `tables`. False, with `tables` unchanged, when the text is not such a file.
bool readUserVirtualVoices(const CxTypedFile& file, const std::vector<Voice>& voices,
                           EditableTables& tables);

/// The virtual voices and the default in the text form readUserVirtualVoices reads, UTF-8.
std::string writeVirtualVoices(const EditableTables& tables);

} // namespace kor::voicedb
