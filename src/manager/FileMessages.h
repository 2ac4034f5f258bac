// What a failed load adds to its code's message: why the file cannot be read, which call reads a
// file of another kind, and reader messages made safe for a host to print.
#pragma once

#include <korman/ZRFileFormat.h>

#include <string>

namespace kor {

/// The reading calls of the manager, each taking files of some kinds.
enum class FileReader { KorFile, LegacyFile, Smf, MusicXml };

/// Whether `reader` reads files of `format` (a legacy song file is a MIDI file as well).
bool readsFormat(FileReader reader, ZRFileFormat format);

/// What a file of `format` at `path` is and which calls read it: "/x/a.mid is a standard MIDI
/// file (format 1): read it with fileLoadSMF or fileImportSMF, whose directives
/// fileGetSMFImportDirective lists." Empty for ZR_FILE_FORMAT_UNKNOWN.
std::wstring otherFormatDetail(ZRFileFormat format, const std::wstring& path);

/// `message` of a reader that read the file at `path`, with every character that could cut or
/// garble a host's printing of it (%ls stops at the first one it cannot convert) written as a
/// readable escape: each U+FFFD, which the XML parser puts for a byte it could not decode, becomes
/// \xNN with the byte found at the first place the file's bytes are no UTF-8, in order; control
/// characters other than tab and line breaks, surrogates and non-characters become \xNN or \uNNNN.
std::wstring printableMessage(std::wstring message, const std::wstring& path);

} // namespace kor
