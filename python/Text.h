// Text between Python and the library: Python's str on one side, the library's wide strings on
// the other. Every text of the module crosses here and nowhere else.
#pragma once

#include <pybind11/pybind11.h>

#include <string>
#include <vector>

namespace kor::python {

/// The str of a wide text (one code point per wchar_t).
pybind11::str toStr(const std::wstring& text);
/// The wide text of a str; a TypeError for any other object.
std::wstring toWide(pybind11::handle text);
/// The wide texts of a sequence of str (a list of phonemes).
std::vector<std::wstring> toWideList(pybind11::handle texts);
/// A path given as a str or an os.PathLike, as the library's file calls take it. A path holding
/// a NUL character names no file: korman.Error with ZR_E_INVALID_FILE_NAME.
std::wstring toPath(pybind11::handle path);

} // namespace kor::python
