#include "Text.h"

#include "Failure.h"

#include <korman/ErrorCodes.h>

#include <memory>

namespace py = pybind11;

namespace kor::python {

py::str toStr(const std::wstring& text) {
    PyObject* str = PyUnicode_FromWideChar(text.data(), static_cast<Py_ssize_t>(text.size()));
    if (str == nullptr) throw py::error_already_set();
    return py::reinterpret_steal<py::str>(str);
}

std::wstring toWide(py::handle text) {
    if (!PyUnicode_Check(text.ptr()))
        throw py::type_error("expected a str, got " +
                             std::string(py::str(py::type::of(text).attr("__name__"))));
    Py_ssize_t size = 0;
    const std::unique_ptr<wchar_t, decltype(&PyMem_Free)> wide(
        PyUnicode_AsWideCharString(text.ptr(), &size), &PyMem_Free);
    if (wide == nullptr) throw py::error_already_set();
    return std::wstring(wide.get(), static_cast<std::size_t>(size));
}

std::vector<std::wstring> toWideList(py::handle texts) {
    if (PyUnicode_Check(texts.ptr())) throw py::type_error("expected a list of str, got a str");
    std::vector<std::wstring> wide;
    for (py::handle text : py::iter(texts))
        wide.push_back(toWide(text));
    return wide;
}

std::wstring toPath(py::handle path) {
    PyObject* fspath = PyOS_FSPath(path.ptr());
    if (fspath == nullptr) throw py::error_already_set();
    const py::object owned = py::reinterpret_steal<py::object>(fspath);
    if (!PyUnicode_Check(fspath)) throw py::type_error("expected a str path, got bytes");
    std::wstring wide = toWide(owned);
    if (wide.find(L'\0') != std::wstring::npos)
        throw Failure::fromTable(ZR_E_INVALID_FILE_NAME, L"A path holds a NUL character.");
    return wide;
}

} // namespace kor::python
