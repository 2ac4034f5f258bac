// An aux record as a host reads and writes it: two texts the library stores without reading.
#pragma once

#include <string>

struct ZRAux {
    std::wstring id;
    std::wstring content;
};
