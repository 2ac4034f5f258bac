// The window a host registers with the manager to hear that a song has changed.
#pragma once

#include <korman/Export.h>

#include <cstdint>

/// Message number of the update message: sent after every successful commit, undo and redo, and
/// when the host asks the manager to notify observers of VVoice updates.
inline constexpr std::uint32_t ZR_WM_UPDATE = 0x10401;

/// Implemented by the host for each observer window it registers. The manager calls postMessage()
/// once per registered window from inside the operation that made the change, and does not wait
/// for the message to be handled: postMessage() must not block. Queue the message and return;
/// handle it, and call the manager back if need be, later.
///
/// For ZR_WM_UPDATE, wParam is the owner value given when the editor now handed out was obtained,
/// 0 when no editor is out (as is usual for undo, redo and VVoice updates), and lParam is
/// a std::vector<uint32_t>* allocated with new that holds the IDs of the objects the change
/// touched; each window receives its own copy and the receiver deletes it, also when it ignores
/// the message.
///
/// The manager does not own the window: it must outlive the manager it is registered with.
class KORMAN_API IZRMessageWindow {
public:
    /// Receives message `msg` (ZR_WM_UPDATE) with its two words as described above. Called on the
    /// thread that made the change, with the manager busy: queue the message and return at once.
    virtual void postMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) = 0;

protected:
    /// The host owns its windows; the manager never deletes one.
    virtual ~IZRMessageWindow() = default;
};
