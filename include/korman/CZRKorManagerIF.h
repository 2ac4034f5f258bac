// The manager a host editor creates to hold, change and save one song.
#pragma once

#include <korman/Export.h>
#include <korman/ZRKorManagementPolicy.h>
#include <korman/ZRVVoice.h>

#include <cstdint>
#include <map>
#include <utility>

class CZRKorManagerImpl;
class IZRMessageWindow;

/// A key of the VVoice tables: (bank select, program change).
using ZRVVoiceKey = std::pair<int, int>;

/// The manager of one song document. Construct it, call sysInitialize, then use the other calls.
///
/// Every call follows one protocol: on a manager that has never been initialized it returns its
/// "nothing" value (0, null, or 0xFFFFFFFF for IDs) at once; otherwise it clears the last error,
/// returns "nothing" with last error 0 when initialization has not succeeded, and else runs,
/// setting the last error (sysGetLastError) to a code of <korman/ErrorCodes.h> when it fails.
/// The calls named below differ from that protocol as they say. No call throws.
class KORMAN_API CZRKorManagerIF {
public:
    CZRKorManagerIF();
    ~CZRKorManagerIF();
    /// A manager owns its song; it cannot be copied.
    CZRKorManagerIF(const CZRKorManagerIF&) = delete;
    CZRKorManagerIF& operator=(const CZRKorManagerIF&) = delete;

    /// Initializes the manager: validates and stores the policy, creates the library's folders
    /// below the user's data folder, loads the voice database and builds the VVoice and vibrato
    /// tables. 1 on success (the last error may then be ZR_E_VVOICE_MASTER_TABLE_IS_FULL, a
    /// warning); 0 on failure, which may be retried. Once it has succeeded, later calls return 1
    /// and change nothing.
    int sysInitialize(const ZRKorManagementPolicy& policy);
    /// 1 once sysInitialize has succeeded.
    int sysIsInitialized() const;
    /// The last error; ZR_E_NOT_INITIALIZED when sysInitialize was never called. Clears nothing.
    std::uint32_t sysGetLastError() const;
    /// The message of the last error, when the failing call left one; null when sysInitialize was
    /// never called. Clears nothing.
    const wchar_t* sysGetLastErrorMsg() const;
    /// The English message of any error code, "" for a code the library never reports; null when
    /// sysInitialize was never called. Works before initialization succeeds; clears nothing.
    const wchar_t* sysGetErrorMsg(std::uint32_t code) const;
    /// Adds a window to be told of every committed change (message ZR_WM_UPDATE). Works before
    /// initialization succeeds. 0 for null; 1 when added or already there. The window must
    /// outlive the manager.
    int sysRegisterObserver(IZRMessageWindow* window);
    /// Replaces the process-wide VVoice table, which new sequences take their VVoices from. Every
    /// entry's key must match its record, with bank select 0 to 127, program change 0 to 127, a
    /// component ID and parameters in -127 to 127. 0, changing nothing, when the table is empty or
    /// an entry is invalid. Neither reads nor sets the last error.
    int sysReplaceVVoiceLibTable(const std::map<ZRVVoiceKey, ZRVVoiceLib>& table);

private:
    CZRKorManagerImpl* impl_ = nullptr;
};
