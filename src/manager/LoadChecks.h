// The checks a freshly read song goes through before the manager accepts it.
#pragma once

class CZRKorDocument;

namespace kor {

/// Whether the tree under the document's root is whole: the root holds a sequence, every object
/// of the tree is registered in the document's table under its own ID, occurs once, names its
/// container as its parent, carries no detached mark and passes its own validation.
bool hasSoundStructure(const CZRKorDocument& document);

/// Whether the song has a usable pre-measure area: a count of 1 to 8 measures whose length in
/// ticks follows from the time signatures. Parts that start inside the area are accepted.
bool hasValidPreMeasure(const CZRKorDocument& document);

/// Brings every musical part that uses the default style plug-in to the full default style: the
/// plug-in's attribute info lists are rebuilt, and the part and each of its notes get the style
/// values and curves they lack. Parts of other styles are left alone. False when an object
/// cannot be created or linked.
[[nodiscard]] bool applyDefaultStyle(CZRKorDocument& document);

} // namespace kor
