/* The entry points of the voice database module, shared by the module and the library that loads
   it. Every function returns 0 on success and a non-zero status on failure, except where noted.
   Text is wide (wchar_t) and NUL-terminated; the sizes below count characters, terminator included.
 */
#pragma once

#include <stdint.h>
#include <wchar.h>

#ifdef __cplusplus
extern "C" {
#endif

#define DBM_OK 0u
#define DBM_E_FAIL 0x930A0001u
#define DBM_E_INVALID_ARGUMENT 0x930A0002u
#define DBM_E_NOT_FOUND 0x930A0003u
#define DBM_E_EXISTS 0x930A0004u
#define DBM_E_NO_EDITOR 0x930A0005u
#define DBM_E_IO 0x930A0006u
/* DBM_Init's answer when the table of virtual voices is full: the module works, but no virtual
   voice can be added. */
#define DBM_S_MASTER_TABLE_FULL 0x930A5000u

#define DBM_COMP_ID_SIZE 17 /* a 16-character component ID */
#define DBM_NAME_SIZE 257   /* a name of 1 to 256 characters */
#define DBM_PATH_SIZE 1024

/* The expression type of vibrato items. */
#define DBM_EXP_VIBRATO 5

/* The five timbre parameters of a voice, each -127 to 127. */
typedef struct DBM_VoiceParam {
    int32_t breathiness;
    int32_t brightness;
    int32_t clearness;
    int32_t genderFactor;
    int32_t opening;
} DBM_VoiceParam;

/* A voice of the database: the singer data a component ID names. */
typedef struct DBM_Voice {
    wchar_t compID[DBM_COMP_ID_SIZE];
    wchar_t name[DBM_NAME_SIZE];
    DBM_VoiceParam param;
} DBM_Voice;

/* A virtual voice: a voice under a bank select and program change, with a name and timbre
   parameters of its own. */
typedef struct DBM_VirtualVoiceInfo {
    int32_t bankSelect;
    int32_t programChange;
    wchar_t compID[DBM_COMP_ID_SIZE];
    wchar_t name[DBM_NAME_SIZE];
    DBM_VoiceParam param;
} DBM_VirtualVoiceInfo;

/* An expression item (a vibrato kind, for type DBM_EXP_VIBRATO): its ID, type, caption and the
   articulation file that describes it. */
typedef struct DBM_ExpItem {
    int32_t id;
    int32_t type;
    wchar_t caption[DBM_NAME_SIZE];
    wchar_t filePath[DBM_PATH_SIZE];
} DBM_ExpItem;

/* A list of expression items handed out by DBM_GetVirtualExpItems and freed by
   DBM_DeleteVirtualExpItems. */
typedef struct DBM_ExpItemList {
    int32_t count;
    DBM_ExpItem* items;
} DBM_ExpItemList;

/* --- The 27 entry points, in the order the library looks them up. --- */

/* Loads the voice data. 0, DBM_S_MASTER_TABLE_FULL, or a failure status. Calling it again
   reloads. */
uint32_t DBM_Init(void);
/* Releases everything DBM_Init loaded; pending edits are rolled back. */
uint32_t DBM_Delete(void);
/* Copies the virtual voice (fromBS, fromPC) to the free key (toBS, toPC). */
uint32_t DBM_CopyVirtualVoice(int32_t fromBS, int32_t fromPC, int32_t toBS, int32_t toPC);
/* Creates a virtual voice of the voice compID under a free key. */
uint32_t DBM_CreateVirtualVoice(int32_t bankSelect, int32_t programChange, const wchar_t* compID,
                                const wchar_t* name, const DBM_VoiceParam* param);
/* Writes the module's version text into buffer (at most size characters). */
uint32_t DBM_GetVersionString(wchar_t* buffer, int32_t size);
uint32_t DBM_DeleteVirtualVoice(int32_t bankSelect, int32_t programChange);
uint32_t DBM_SetVirtualVoiceParameters(int32_t bankSelect, int32_t programChange,
                                       const DBM_VoiceParam* param);
uint32_t DBM_SetVirtualVoiceName(int32_t bankSelect, int32_t programChange, const wchar_t* name);
/* The default timbre parameters of the voice compID. */
uint32_t DBM_GetVoiceParameters(const wchar_t* compID, DBM_VoiceParam* param);
/* Fills voices with up to capacity voices and sets *count to the number the database holds. */
uint32_t DBM_GetAllVoice(DBM_Voice* voices, int32_t capacity, int32_t* count);
/* Writes every virtual voice to the file at path, in the voice data's own text form. */
uint32_t DBM_BackupAllVirtualVoice(const wchar_t* path);
uint32_t DBM_GetVirtualVoiceInfo(int32_t bankSelect, int32_t programChange,
                                 DBM_VirtualVoiceInfo* info);
/* Opens an editing session: changes made until DBM_CommitEditor or DBM_RollBackEditor can be
   taken back as a whole. DBM_E_EXISTS when one is open already. */
uint32_t DBM_GetEditor(void);
uint32_t DBM_CommitEditor(void);
/* Writes the user's virtual voices and default voice back to the voice data. */
uint32_t DBM_UpdateUserRegistory(void);
uint32_t DBM_RollBackEditor(void);
uint32_t DBM_GetDefaultVirtualVoice(int32_t* bankSelect, int32_t* programChange);
uint32_t DBM_SetDefaultVirtualVoice(int32_t bankSelect, int32_t programChange);
uint32_t DBM_GetVirtualVoiceName(int32_t bankSelect, int32_t programChange, wchar_t* buffer,
                                 int32_t size);
uint32_t DBM_GetVirtualVoiceParameters(int32_t bankSelect, int32_t programChange,
                                       DBM_VoiceParam* param);
uint32_t DBM_GetVoice(const wchar_t* compID, DBM_Voice* voice);
/* Writes the folder that holds the expression (articulation) files into buffer. */
uint32_t DBM_GetExpDB(wchar_t* buffer, int32_t size);
uint32_t DBM_GetVirtualExpInfo(int32_t id, DBM_ExpItem* item);
/* Hands out the expression items of a type (first and second reserved, pass 0); free the list with
   DBM_DeleteVirtualExpItems. */
uint32_t DBM_GetVirtualExpItems(int32_t type, int32_t reserved1, int32_t reserved2,
                                DBM_ExpItemList** list);
uint32_t DBM_DeleteVirtualExpItems(DBM_ExpItemList* list);
/* Removes an expression item from the database. */
uint32_t DBM_DeleteVirtualExpInfo(int32_t id);
/* The module's interface version: major in the upper 16 bits, minor in the lower. */
uint32_t DBM_GetLibraryVersion(void);

#ifdef __cplusplus
}
#endif
