// Relating a loaded song's VVoices and singers to the voices of the process's voice database.
#pragma once

#include "manager/KorManagerApp.h"

class CZRKorDocument;

namespace kor {

/// Runs the two passes that make a loaded song sing only voices the process offers (`library`:
/// its VVoice table, bank representatives and default voice, which may be empty), and
/// records every change in the document's VVoice and singer convert lists (emptied first).
///
/// The VVoice pass replaces each song VVoice whose component ID the voice database lacks by the
/// representative of its bank select (else the default voice, else the representative of the
/// lowest bank): when the song already holds a VVoice under the replacement's key, the unknown
/// VVoice is removed and its singers go to that one; otherwise it takes the replacement's key,
/// component ID, name and parameters in place. One VVoice row per replaced VVoice: the ID of the
/// VVoice that now stands for it, its old key and name, the new key and name, and the component
/// ID the database lacked. VVoices of a known component keep their key, even one the database
/// does not use, since the host may have made them.
///
/// The singer pass then walks the singers of every musical part and the voices of every prosody
/// part: one whose VVoice the first pass moved follows it; one whose key no song VVoice has is
/// given the replacement voice of its bank select as above, which is added to the song's VVoice
/// table when missing. One singer row per moved event: its ID, its part's ID, old and new key.
///
/// False when the song has no VVoice table, the process offers no replacement voice, or an
/// object cannot be created or linked.
[[nodiscard]] bool runVVoicePasses(CZRKorDocument& document, const VoiceTables& library);

} // namespace kor
