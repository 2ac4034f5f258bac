// The prosody event operations of the editor: voices, curve points and controls of prosody parts.
#pragma once

#include <korman/ZREditValues.h>

#include <cstdint>

namespace kor {

class EditSession;

// Each records its change in `session` and returns 0, or the one error code of its failure:
// ZR_E_EDIT_TARGET_NOT_FOUND for a missing event (or a list that is not the part's list of that
// kind), the family's position code for a negative position, the record lookup's codes, and
// ZR_E_EDIT_TARGET_DELETED for an event this editor has removed already. Updates leave the
// position alone (it is neither used nor checked). Moves refuse a position another event of the
// list holds with the family's "duplicated" code, and the voice and the curve point at 0 (the
// head events) with ZR_E_HEAD_EVENT_UPDATE_NOT_ALLOWED. An insert at a position an event holds
// gives that event the new values instead of adding one (ZR_E_UPDATE_FAILED when the new event
// cannot be made or linked). Deletes leave an event already removed alone and never remove a
// head event: the head voice falls back to the default voice, the head curve point to 0.

/// Voices: the sequence's VVoice table must hold the voice (ZR_E_VVOICE_NOT_FOUND); position code
/// ZR_E_INVALID_PROSODY_VOICE_POSITION, ZR_E_PROSODY_VOICES_ARE_DUPLICATED.
[[nodiscard]] std::uint32_t updateProsodyVoice(EditSession& session, std::uint32_t voiceID,
                                               const ZRProsodyVoiceValue& value);
[[nodiscard]] std::uint32_t moveProsodyVoice(EditSession& session, std::uint32_t voiceID,
                                             const ZRProsodyVoiceValue& value);
[[nodiscard]] std::uint32_t insertProsodyVoice(EditSession& session, std::uint32_t listID,
                                               const ZRProsodyVoiceValue& value);
[[nodiscard]] std::uint32_t deleteProsodyVoice(EditSession& session, std::uint32_t voiceID);

/// Curve points: ZR_E_INVALID_PROSODY_ELEMENT_POSITION, ZR_E_PROSODY_ELEMENTS_ARE_DUPLICATED.
[[nodiscard]] std::uint32_t updateProsodyElement(EditSession& session, std::uint32_t elementID,
                                                 const ZRProsodyElementValue& value);
[[nodiscard]] std::uint32_t moveProsodyElement(EditSession& session, std::uint32_t elementID,
                                               const ZRProsodyElementValue& value);
[[nodiscard]] std::uint32_t insertProsodyElement(EditSession& session, std::uint32_t listID,
                                                 const ZRProsodyElementValue& value);
[[nodiscard]] std::uint32_t deleteProsodyElement(EditSession& session, std::uint32_t elementID);

/// Controls: the kind must be 0 to 6 and that of the list holding (or receiving) the control
/// (ZR_E_INVALID_PROSODY_CONTROL_ID); ZR_E_INVALID_PROSODY_CONTROL_POSITION,
/// ZR_E_PROSODY_CONTROLS_ARE_DUPLICATED. Controls have no head event.
[[nodiscard]] std::uint32_t updateProsodyControl(EditSession& session, std::uint32_t controlID,
                                                 const ZRProsodyControlValue& value);
[[nodiscard]] std::uint32_t moveProsodyControl(EditSession& session, std::uint32_t controlID,
                                               const ZRProsodyControlValue& value);
[[nodiscard]] std::uint32_t insertProsodyControl(EditSession& session, std::uint32_t listID,
                                                 const ZRProsodyControlValue& value);
[[nodiscard]] std::uint32_t deleteProsodyControl(EditSession& session, std::uint32_t controlID);

} // namespace kor
