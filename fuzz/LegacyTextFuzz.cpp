// Parses bytes as a MIDI file and joins the embedded song text of every track into INI sections.
#include "legacy/LegacyText.h"
#include "legacy/MidiSequence.h"
#include "legacy/TypedFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::unique_ptr<CxMidiSequence> sequence = CxMidiSequence::parse(data, size).sequence;
    if (!sequence) return 0;
    (void)kor::hasLegacyText(*sequence);

    CxTypedFile file;
    // Shift-JIS text exercises the multi-byte conversion of non-ASCII lines.
    file.setCodePage(932);
    for (std::size_t index = 0; index < sequence->trackCount(); ++index) {
        bool hadText = false;
        if (kor::collectTrackText(*sequence, index, file, hadText))
            for (const std::wstring& name : file.sectionNames())
                (void)file.keys(name);
    }
    return 0;
}
