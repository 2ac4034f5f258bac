#include "Timeline.h"

#include <algorithm>

namespace kortool {

Timeline::Timeline(const IZRMasterTrack& master)
    : resolution_(std::max(1, master.getResolution())) {
    for (const IZRTimeSig* sig : elementsOf<IZRTimeSig>(master.getTimeSigList())) {
        Signature next;
        next.measure = sig->getPosMes();
        next.numerator = std::max(1, sig->getNumerator());
        next.denominator = std::max(1, sig->getDenominator());
        next.ticksPerMeasure = std::max(1, resolution_ * 4 * next.numerator / next.denominator);
        if (signatures_.empty()) {
            next.measure = 0; // the head signature rules from the very start
        } else {
            const Signature& last = signatures_.back();
            next.measure = std::max(next.measure, last.measure + 1);
            next.tick = last.tick + (next.measure - last.measure) * last.ticksPerMeasure;
        }
        signatures_.push_back(next);
    }
    if (signatures_.empty()) signatures_.push_back({0, 0, 4, 4, resolution_ * 4});

    for (const IZRTempo* tempo : elementsOf<IZRTempo>(master.getTempoList()))
        tempos_.push_back({std::max(0, tempo->getPosTick()), std::max(1, tempo->getBPM())});
    if (tempos_.empty() || tempos_.front().tick != 0) tempos_.insert(tempos_.begin(), {0, 12000});
}

const Timeline::Signature& Timeline::signatureOfMeasure(int measure) const {
    auto after = std::upper_bound(signatures_.begin(), signatures_.end(), measure,
                                  [](int m, const Signature& s) { return m < s.measure; });
    return after == signatures_.begin() ? signatures_.front() : *(after - 1);
}

const Timeline::Signature& Timeline::signatureOfTick(int tick) const {
    auto after = std::upper_bound(signatures_.begin(), signatures_.end(), tick,
                                  [](int t, const Signature& s) { return t < s.tick; });
    return after == signatures_.begin() ? signatures_.front() : *(after - 1);
}

int Timeline::measureAt(int tick) const {
    const Signature& sig = signatureOfTick(tick);
    return sig.measure + (std::max(tick, sig.tick) - sig.tick) / sig.ticksPerMeasure;
}

int Timeline::measureStart(int measure) const {
    const Signature& sig = signatureOfMeasure(measure);
    return sig.tick + (std::max(measure, sig.measure) - sig.measure) * sig.ticksPerMeasure;
}

double Timeline::secondsAt(int tick) const {
    double seconds = 0;
    for (std::size_t i = 0; i < tempos_.size() && tempos_[i].tick < tick; ++i) {
        const int end = i + 1 < tempos_.size() ? std::min(tick, tempos_[i + 1].tick) : tick;
        const double beats = double(end - tempos_[i].tick) / resolution_;
        seconds += beats * 60.0 * 100.0 / tempos_[i].bpm100;
    }
    return seconds;
}

int songEndTick(const IZRSequence& sequence) {
    int end = 0;
    for (const IZRZRTrack* track : elementsOf<IZRZRTrack>(sequence.getZRTrackList()))
        for (const IZRPart* part : elementsOf<IZRPart>(track->getPartList()))
            end = std::max(end, part->getPosTick() + part->getPlayTime());
    for (const IZRWAVTrack* track : {sequence.getSETrack(), sequence.getKaraokeTrack()})
        if (track != nullptr)
            for (const IZRPart* part : elementsOf<IZRPart>(track->getWAVPartList()))
                end = std::max(end, part->getPosTick() + part->getPlayTime());
    return end;
}

} // namespace kortool
