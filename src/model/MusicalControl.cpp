#include "model/MusicalControl.h"

#include <cwchar>

namespace {

constexpr std::array<const wchar_t*, kor::kMusicalControlTypes> kNames{
    L"DYN", L"BRE", L"BRI", L"CLE", L"GEN", L"PIT", L"PBS"};
constexpr std::array<const wchar_t*, kor::kMusicalControlTypes> kShortNames{L"D", L"B", L"R", L"C",
                                                                            L"G", L"P", L"S"};

std::int32_t indexOf(const std::array<const wchar_t*, kor::kMusicalControlTypes>& names,
                     const wchar_t* name) {
    if (name == nullptr) return -1;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (std::wcscmp(names[i], name) == 0) return static_cast<std::int32_t>(i);
    return -1;
}

} // namespace

void CZRMusicalControl::dumpFields(std::wstring& out) const {
    kor::appendFormat(out, L" posTick=%d type=%d value=%d ", values().posTick, values().type,
                      values().value);
}

namespace kor {

std::int32_t musicalControlTypeOfName(const wchar_t* name) {
    return indexOf(kNames, name);
}

std::int32_t musicalControlTypeOfShortName(const wchar_t* name) {
    return indexOf(kShortNames, name);
}

const wchar_t* musicalControlName(std::int32_t type) {
    return type >= 0 && type < kMusicalControlTypes ? kNames[static_cast<std::size_t>(type)] : L"";
}

} // namespace kor
