// A song's time axis: ticks to measures and seconds under its time signatures and tempos.
#pragma once

#include <korman/korman.h>

#include <vector>

namespace kortool {

/// The elements of a node list that are of class T, in list order; empty for a null list.
template <class T> std::vector<const T*> elementsOf(const IZRNodeList* list) {
    std::vector<const T*> elements;
    if (list == nullptr) return elements;
    for (std::uint32_t i = 0; i < list->getCount(); ++i)
        if (const auto* element = dynamic_cast<const T*>(list->getAt(i)))
            elements.push_back(element);
    return elements;
}

class Timeline {
public:
    struct Signature {
        int measure = 0;
        int tick = 0;
        int numerator = 4;
        int denominator = 4;
        int ticksPerMeasure = 1920;
    };
    struct Tempo {
        int tick = 0;
        int bpm100 = 12000; ///< beats per minute times 100
    };

    explicit Timeline(const IZRMasterTrack& master);

    int resolution() const { return resolution_; }
    const std::vector<Signature>& signatures() const { return signatures_; }
    const std::vector<Tempo>& tempos() const { return tempos_; }

    /// The measure (counted from 0, pre-measures included) that holds `tick`.
    int measureAt(int tick) const;
    /// The tick where `measure` starts.
    int measureStart(int measure) const;
    /// The time from the start of the song to `tick`, in seconds.
    double secondsAt(int tick) const;

private:
    const Signature& signatureOfMeasure(int measure) const;
    const Signature& signatureOfTick(int tick) const;

    int resolution_ = 480;
    std::vector<Signature> signatures_;
    std::vector<Tempo> tempos_;
};

/// The tick where the song's last part, musical, prosody or WAV, ends.
int songEndTick(const IZRSequence& sequence);

} // namespace kortool
