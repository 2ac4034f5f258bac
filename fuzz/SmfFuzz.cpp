// Parses bytes as a MIDI file, then walks every track alone and all tracks merged in time order.
#include "legacy/MidiSequence.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::unique_ptr<CxMidiSequence> sequence = CxMidiSequence::parse(data, size).sequence;
    if (!sequence) return 0;

    CxMidiEvent event;
    for (std::size_t index = 0; index < sequence->trackCount(); ++index)
        while (sequence->track(index)->next(event)) {
        }

    // The merged walk twice: once unfiltered, once with a channel and an event kind switched off,
    // so both filters and the rewind of every track are exercised.
    sequence->rewind();
    while (sequence->next(event)) {
    }
    sequence->setChannelEnabled(size % 16, false);
    sequence->setKindEnabled(size % 16, false);
    sequence->rewind();
    while (sequence->next(event)) {
    }
    return 0;
}
