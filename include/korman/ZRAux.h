// An aux record as a host reads and writes it: two texts the library stores without reading.
#pragma once

#include <string>

/// The two texts of an aux record, stored, saved and loaded as given.
struct ZRAux {
    /// The record's ID text; the library does not require it to be unique.
    std::wstring id;
    /// The record's content text.
    std::wstring content;
};
