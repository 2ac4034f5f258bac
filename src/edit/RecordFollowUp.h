// What a record marks in the live document after an exchange: the parts its change affects.
#pragma once

class CZRKorDocument;
class IZRMutableKorObject;

namespace kor {

/// Nothing to mark.
struct NoFollowUp {
    static void run(CZRKorDocument&, IZRMutableKorObject&) noexcept {}
};

/// A tempo change moves everything timed in seconds: every prosody part of every ZR track and
/// every WAV part of the two audio tracks gets its edited mark. Musical parts, timed in ticks,
/// are left alone.
struct MarkTempoDependents {
    static void run(CZRKorDocument& document, IZRMutableKorObject& live) noexcept;
};

/// Marks the nearest part (musical or prosody) above `live`: the part whose list changed.
struct MarkHoldingPart {
    static void run(CZRKorDocument& document, IZRMutableKorObject& live) noexcept;
};

/// Marks every musical and prosody part of the part list `live`.
struct MarkListedParts {
    static void run(CZRKorDocument& document, IZRMutableKorObject& live) noexcept;
};

} // namespace kor
