#include "model/WAVPartFiles.h"

#include "model/KorDocument.h"
#include "model/WAVPart.h"
#include "platform/Path.h"

namespace kor {

std::wstring wavPartsFolder(const CZRKorDocument& document) {
    const std::wstring& base =
        document.filePath.empty() ? document.tempFilePath : document.filePath;
    if (base.empty()) return {};
    return std::wstring(platform::withoutExtension(base)) + L".wavparts";
}

std::wstring actualWAVFilePath(const CZRKorDocument& document, const CZRWAVPart& part) {
    if (part.isRootedPath()) return part.getFilePath();
    return platform::joinPath(wavPartsFolder(document), platform::fileNamePart(part.getFilePath()));
}

} // namespace kor
