// Which texts of a MIDI or legacy song file a code page cannot convert, judged as the library
// converts them.
#pragma once

#include "MidiTexts.h"

#include <cstddef>
#include <string>

namespace kortool {

/// The character set the library converts `codePage` with ("UTF-8", "CP932", ...); 0 and 3 stand
/// for the locale's. Empty for a number the library does not know, whose texts never convert.
std::string charsetOf(unsigned codePage);

/// How many of the texts the library decodes with `codePage` it cannot convert: the lines of a
/// legacy song's text when `legacy` (they come out garbled, a character per byte), else the
/// names and lyrics of a MIDI file (they are left out, for the defaults).
std::size_t unconvertibleTexts(const MidiTexts& texts, bool legacy, unsigned codePage);

} // namespace kortool
