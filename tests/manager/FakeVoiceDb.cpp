// A stand-in voice database module for tests: three voices in two banks, a default voice and one
// vibrato item whose articulation file is named by $KOR_FAKE_VIBRATO_FILE. Compile definitions make
// variants that fail in one way each:
//   FAKE_INIT_STATUS=n   DBM_Init answers n
//   FAKE_NO_VOICES       no virtual voice answers
//   FAKE_NO_VIBRATO      the vibrato list is empty
//   FAKE_MISSING_ENTRY   DBM_GetLibraryVersion is not exported
#include "korvoicedb/DbmApi.h"

#include <cstdlib>
#include <cwchar>

#ifndef FAKE_INIT_STATUS
#define FAKE_INIT_STATUS 0u
#endif

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

struct FakeVoice {
    int32_t bankSelect;
    int32_t programChange;
    const wchar_t* compID;
    const wchar_t* name;
    DBM_VoiceParam param;
};

#ifdef FAKE_NO_VOICES
constexpr FakeVoice kVoices[] = {{0, 0, L"", L"no component", {}}};
#else
constexpr FakeVoice kVoices[] = {
    {0, 0, L"FAKE0000VOICE000", L"Alto", {0, 0, 0, 0, 0}},
    {0, 3, L"FAKE0000VOICE003", L"Tenor", {10, -10, 20, -20, 5}},
    {1, 0, L"FAKE0001VOICE000", L"Soprano", {-127, 127, 0, 64, -64}},
    {2, 0, L"FAKE0002BADPARAM", L"Out of range", {200, 0, 0, 0, 0}},
};
#endif

const FakeVoice* findVoice(int32_t bs, int32_t pc) {
    for (const FakeVoice& voice : kVoices)
        if (voice.bankSelect == bs && voice.programChange == pc) return &voice;
    return nullptr;
}

} // namespace

FAKE_EXPORT uint32_t DBM_Init(void) {
    return FAKE_INIT_STATUS;
}
FAKE_EXPORT uint32_t DBM_Delete(void) {
    return DBM_OK;
}
FAKE_EXPORT uint32_t DBM_CopyVirtualVoice(int32_t, int32_t, int32_t, int32_t) {
    return DBM_E_FAIL;
}
FAKE_EXPORT uint32_t DBM_CreateVirtualVoice(int32_t, int32_t, const wchar_t*, const wchar_t*,
                                            const DBM_VoiceParam*) {
    return DBM_E_FAIL;
}
FAKE_EXPORT uint32_t DBM_GetVersionString(wchar_t*, int32_t) {
    return DBM_E_FAIL;
}
FAKE_EXPORT uint32_t DBM_DeleteVirtualVoice(int32_t, int32_t) {
    return DBM_E_FAIL;
}
FAKE_EXPORT uint32_t DBM_SetVirtualVoiceParameters(int32_t, int32_t, const DBM_VoiceParam*) {
    return DBM_E_FAIL;
}
FAKE_EXPORT uint32_t DBM_SetVirtualVoiceName(int32_t, int32_t, const wchar_t*) {
    return DBM_E_FAIL;
}
FAKE_EXPORT uint32_t DBM_GetVoiceParameters(const wchar_t*, DBM_VoiceParam*) {
    return DBM_E_FAIL;
}
FAKE_EXPORT uint32_t DBM_GetAllVoice(DBM_Voice*, int32_t, int32_t*) {
    return DBM_E_FAIL;
}
FAKE_EXPORT uint32_t DBM_BackupAllVirtualVoice(const wchar_t*) {
    return DBM_E_FAIL;
}

FAKE_EXPORT uint32_t DBM_GetVirtualVoiceInfo(int32_t bs, int32_t pc, DBM_VirtualVoiceInfo* info) {
    const FakeVoice* voice = findVoice(bs, pc);
    if (voice == nullptr || info == nullptr) return DBM_E_NOT_FOUND;
    info->bankSelect = bs;
    info->programChange = pc;
    std::wcsncpy(info->compID, voice->compID, DBM_COMP_ID_SIZE - 1);
    std::wcsncpy(info->name, voice->name, DBM_NAME_SIZE - 1);
    info->param = voice->param;
    return DBM_OK;
}

FAKE_EXPORT uint32_t DBM_GetEditor(void) {
    return DBM_E_FAIL;
}
FAKE_EXPORT uint32_t DBM_CommitEditor(void) {
    return DBM_E_FAIL;
}
FAKE_EXPORT uint32_t DBM_UpdateUserRegistory(void) {
    return DBM_E_FAIL;
}
FAKE_EXPORT uint32_t DBM_RollBackEditor(void) {
    return DBM_E_FAIL;
}

FAKE_EXPORT uint32_t DBM_GetDefaultVirtualVoice(int32_t* bs, int32_t* pc) {
    *bs = 0;
    *pc = 3;
    return DBM_OK;
}

FAKE_EXPORT uint32_t DBM_SetDefaultVirtualVoice(int32_t, int32_t) {
    return DBM_E_FAIL;
}
FAKE_EXPORT uint32_t DBM_GetVirtualVoiceName(int32_t, int32_t, wchar_t*, int32_t) {
    return DBM_E_FAIL;
}
FAKE_EXPORT uint32_t DBM_GetVirtualVoiceParameters(int32_t, int32_t, DBM_VoiceParam*) {
    return DBM_E_FAIL;
}
FAKE_EXPORT uint32_t DBM_GetVoice(const wchar_t*, DBM_Voice*) {
    return DBM_E_FAIL;
}
FAKE_EXPORT uint32_t DBM_GetExpDB(wchar_t*, int32_t) {
    return DBM_E_FAIL;
}
FAKE_EXPORT uint32_t DBM_GetVirtualExpInfo(int32_t, DBM_ExpItem*) {
    return DBM_E_FAIL;
}

FAKE_EXPORT uint32_t DBM_GetVirtualExpItems(int32_t type, int32_t, int32_t,
                                            DBM_ExpItemList** list) {
    if (type != DBM_EXP_VIBRATO || list == nullptr) return DBM_E_INVALID_ARGUMENT;
    auto* items = new DBM_ExpItemList{0, new DBM_ExpItem[2]{}};
#ifndef FAKE_NO_VIBRATO
    const char* file = std::getenv("KOR_FAKE_VIBRATO_FILE");
    DBM_ExpItem& item = items->items[items->count++];
    item.id = 7;
    item.type = DBM_EXP_VIBRATO;
    std::swprintf(item.caption, DBM_NAME_SIZE, L"Normal");
    std::swprintf(item.filePath, DBM_PATH_SIZE, L"%s", file != nullptr ? file : "");
    // A second item whose file does not exist is left out of the vibrato table.
    DBM_ExpItem& missing = items->items[items->count++];
    missing.id = 8;
    missing.type = DBM_EXP_VIBRATO;
    std::swprintf(missing.filePath, DBM_PATH_SIZE, L"/nonexistent/folder/missing.aic");
#endif
    *list = items;
    return DBM_OK;
}

FAKE_EXPORT uint32_t DBM_DeleteVirtualExpItems(DBM_ExpItemList* list) {
    if (list != nullptr) delete[] list->items;
    delete list;
    return DBM_OK;
}

FAKE_EXPORT uint32_t DBM_DeleteVirtualExpInfo(int32_t) {
    return DBM_E_FAIL;
}

#ifndef FAKE_MISSING_ENTRY
FAKE_EXPORT uint32_t DBM_GetLibraryVersion(void) {
    return 0x00010000u;
}
#endif
