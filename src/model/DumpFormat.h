// Building blocks of the debug text that every object appends to a dump, and the names of the
// object types in it and in messages.
#pragma once

#include <korman/IZRKorObject.h>

#include <string>

namespace kor {

/// The class label that opens an object's dump, e.g. "CZRTempo {".
const wchar_t* dumpLabel(ZRObjType type);

/// The host's word for an object of `type` ("tempo", "musical part", "master track"); "object"
/// for a type without one.
const wchar_t* kindName(ZRObjType type);

/// The host's word for `object`: its kind, and for a node list the kind of its elements followed
/// by "list" ("tempo list").
std::wstring objectName(const IZRKorObject& object);

/// Appends the identity block: "{ objID=%d objType=%d parentObjID=%d } ", with "NULL" for no
/// parent.
void dumpCore(std::wstring& out, const IZRKorObject& obj);

/// Appends `format` expanded with printf rules (wide strings are "%ls"). A line longer than the
/// customary 255 characters is written in full rather than cut, so a dump never loses text.
void appendFormat(std::wstring& out, const wchar_t* format, ...);

} // namespace kor
