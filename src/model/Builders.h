// Builders of new document pieces: the empty sequence and the new musical part.
#pragma once

#include "model/ObjectTable.h"
#include "model/Part.h"

#include <korman/ZRVVoice.h>

#include <map>
#include <utility>

class CZRMusicalNote;
class CZRMusicalPart;
class CZRSequence;
class CZRStylePlugin;
class CZRZRTrack;
class CZRZRUnit;
struct ZRZRTrackValues;

namespace kor {

/// The format version a new sequence carries.
inline constexpr const wchar_t* kNewSequenceVersion = L"3.0.0.11";
/// The vendor name a new sequence carries.
inline constexpr const wchar_t* kNewSequenceVender = L"korman";
/// The ID of the default style plug-in of new musical parts.
inline constexpr const wchar_t* kDefaultStylePluginID = L"ACA9C502-A04B-42b5-B2EB-5CEA36D16FCE";

/// VVoice records by (bank select, program change).
using VVoiceTable = std::map<std::pair<int, int>, ZRVVoiceLib>;

/// Builds a new, empty sequence in `context`, every object under a fresh ID: an empty VVoice
/// list, the mixer with its master, SE and karaoke units (default levels, empty plug-in lists)
/// and an empty ZR unit list, the master track "New Sequence" at 480 ticks per quarter with one
/// pre-measure and empty signature and tempo lists, an empty ZR track list, the SE and backing
/// audio tracks with empty WAV part lists, and the unmanaged container with an empty aux list.
/// The sequence is not linked to a root. Null when an object cannot be created or linked; what
/// was built is then destroyed.
CZRSequence* buildEmptySequence(const ZRCreateContext& context);

/// Builds a new musical part from `values` (a play time below 61 becomes 60) in `context`: the
/// default style plug-in with its five attribute info lists, one singer at tick 0 singing
/// `defaultVoice` when `table` holds that voice (else bank select 0, program change 0), the
/// seven default part style values, the "POR" style control list, an empty note list and the
/// seven empty musical control lists. The part is not linked. Null on failure, with what was
/// built destroyed.
CZRMusicalPart* buildMusicalPart(const ZRCreateContext& context, ZRPartValues values,
                                 const VVoiceTable& table, const ZRVVoiceLib& defaultVoice);

/// Builds a new ZR track from `values` with an empty part list in `context`. The track is not
/// linked. Null on failure, with what was built destroyed.
CZRZRTrack* buildZRTrack(const ZRCreateContext& context, ZRZRTrackValues values);

/// Builds the mixer unit of a new ZR track numbered `trackNo` in `context`: centre pan, a silent
/// send, every other level 0, and an empty plug-in list. The unit is not linked. Null on failure,
/// with what was built destroyed.
CZRZRUnit* buildZRUnit(const ZRCreateContext& context, std::int32_t trackNo);

/// Replaces the five attribute info lists of `plugin` by those of the default style plug-in; the
/// lists replaced are destroyed. False when a list cannot be built; the plug-in may then hold
/// some new lists and some old ones.
[[nodiscard]] bool rebuildDefaultStyleInfoLists(const ZRCreateContext& context,
                                                CZRStylePlugin& plugin);

/// Gives `part` what the default style expects of a musical part: a part style holding each of
/// the seven part style values (missing ones added with their defaults) and a "POR" style control
/// list. Values present are kept. False when an object cannot be created or linked.
[[nodiscard]] bool completePartStyle(const ZRCreateContext& context, CZRMusicalPart& part);

/// Gives `note` what the default style expects of a note: a note style holding the seven part
/// style values and "vibType" and "vibLen" (missing ones added, the vibrato values as 0), and a
/// sequential note style holding the "vibDep" and "vibRate" curves (empty when missing). Values
/// present are kept. False when an object cannot be created or linked.
[[nodiscard]] bool completeNoteStyle(const ZRCreateContext& context, CZRMusicalNote& note);

/// Builds a singing track numbered `trackNo` (as buildZRTrack) and its mixer unit (as
/// buildZRUnit), and links both into `sequence`. Null when an object cannot be created or linked;
/// nothing is left behind then.
CZRZRTrack* addZRTrack(const ZRCreateContext& context, CZRSequence& sequence, std::int32_t trackNo,
                       std::wstring name, std::wstring comment);

} // namespace kor
