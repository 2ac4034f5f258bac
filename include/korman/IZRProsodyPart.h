// The read interface of a part that carries phoneme timings and curves on a seconds axis.
#pragma once

#include <korman/IZRNodeList.h>
#include <korman/IZRPart.h>

/// A prosody part; positions inside it are seconds (16.16) relative to its start.
class KORMAN_API IZRProsodyPart : public IZRPart {
public:
    /// Recomputes the derived lengths, then gives the content length in seconds (16.16).
    virtual std::int32_t getDurSec() = 0;
    /// The voice changes (list type 12), ordered by position in seconds (16.16).
    virtual IZRNodeList* getVoiceList() const = 0;
    /// The phonemes (list type 11), ordered by position in seconds (16.16).
    virtual IZRNodeList* getPhonemeList() const = 0;
    /// The points of the first prosody curve (list type 13), ordered by position in seconds.
    virtual IZRNodeList* getFirstElementList() const = 0;
    /// The points of the second prosody curve (list type 13), ordered by position in seconds.
    virtual IZRNodeList* getSecondElementList() const = 0;
    /// The list of prosody control type `type`; null for types outside 0 to 6.
    virtual IZRNodeList* getControlList(std::int32_t type) const = 0;
};
