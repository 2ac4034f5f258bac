// The content of one singing track of a legacy song, read out of its joined text.
#pragma once

#include "legacy/IconVibrato.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CxTypedFile;

namespace kor {

/// The curve sections of a singing track, in the order of their table.
enum class LegacyCurve : std::size_t {
    Dynamics,         // "DynamicsBPList"
    Breathiness,      // "EpRResidualBPList"
    Brightness,       // "EpRESlopeBPList"
    Clearness,        // "EpRESlopeDepthBPList"
    Gender,           // "GenderFactorBPList"
    PitchBend,        // "PitchBendBPList"
    PitchBendSense,   // "PitchBendSensBPList"
    PortamentoTiming, // "PortamentoTimingBPList"
    Opening,          // "OpeningBPList"
};
inline constexpr std::size_t kLegacyCurveCount = 9;

struct LegacyPoint {
    std::int32_t tick;
    std::int32_t value;
};

struct LegacyNote {
    std::int32_t tick = 0;   ///< file tick
    std::int32_t length = 1; ///< at least 1
    std::int32_t noteNum = 0;
    std::wstring lyric;
    std::vector<std::wstring> phonemes;
    std::int32_t phLock = 0;
    std::int32_t bendDepth = 8;
    std::int32_t bendLength = 0;
    std::int32_t risePort = 0;
    std::int32_t fallPort = 0;
    std::int32_t decay = 50;
    std::int32_t accent = 50;
    /// Vibrato of the note, when it has a vibrato handle.
    struct Vibrato {
        std::int32_t type = 0;   ///< "vibType", 0..16
        std::int32_t length = 0; ///< "vibLen", percent of the note that vibrates
        std::vector<VibratoPoint> depth;
        std::vector<VibratoPoint> rate;
    };
    std::optional<Vibrato> vibrato;
};

struct LegacySinger {
    std::int32_t tick = 0;
    std::int32_t bankSelect = 0;
    std::int32_t program = 0;
};

/// The mixer section of the first singing track, clamped to the mixer's ranges. A value the
/// file leaves out, or one outside its accepted set (solo other than 0 or 1), stays unset.
struct LegacyMixer {
    struct Column {
        std::optional<std::int32_t> volume; ///< -898..60
        std::optional<std::int32_t> pan;    ///< 0..128, 64 is centre
        std::optional<std::int32_t> mute;
        std::optional<std::int32_t> solo; ///< 0 or 1
    };
    std::optional<std::int32_t> masterVolume; ///< -898..60
    std::vector<Column> columns;
};

struct LegacyTrack {
    std::int32_t version = 0;    ///< trailing digits of [Common] Version
    std::wstring name;           ///< [Common] Name, possibly empty
    std::int32_t preMeasure = 0; ///< [Master] PreMeasure when 1..8, else 0
    std::optional<LegacyMixer> mixer;
    std::vector<LegacyNote> notes;                                  ///< by tick
    std::vector<LegacySinger> singers;                              ///< by tick
    std::array<std::vector<LegacyPoint>, kLegacyCurveCount> curves; ///< each by tick
};

/// The number made of the trailing decimal digits of a version text ("KOR301" gives 301; no
/// digits give 0).
std::int32_t legacyVersionNumber(std::wstring_view version);

/// Reads the song content of one singing track's text. The [Master] and [Mixer] sections are
/// read only for the first singing track and only for versions above 201. Missing sections and
/// keys take defaults; numbers out of range are clamped.
void readLegacyTrack(const CxTypedFile& text, bool firstTrack, LegacyTrack& track);

} // namespace kor
