#include "legacy/IconObject.h"

#include "legacy/TextValues.h"
#include "legacy/TypedFile.h"

#include "platform/Wtoi.h"

bool CIconObject::load(const std::wstring& path) {
    CxTypedFile file;
    if (!file.parseFile(path)) return false;
    readFrom(file);
    return true;
}

void CIconObject::readFrom(const CxTypedFile& file) {
    caption_ = file.value(L"Common", L"Caption");
    if (caption_.empty()) caption_ = file.value(L"Common", L"Articulation");
    length_ = kor::wtoi(file.value(L"Parameter", L"Length").c_str());
    if (length_ == 0) length_ = kDefaultLength;
}
