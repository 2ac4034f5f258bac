#include "formats/xml/VerifyTree.h"

#include "model/KorDocument.h"
#include "model/KorRoot.h"
#include "model/ObjectTree.h"

#include <korman/ErrorCodes.h>

#include <vector>

namespace kor {

CorrectResult validateTree(const IZRMutableKorObject& root) {
    CorrectResult failed;
    // The walk only reads: validate and getChildren are const.
    walkTree(
        const_cast<IZRMutableKorObject&>(root),
        [&failed](const IZRMutableKorObject& obj, const IZRMutableKorObject*) {
            const std::uint32_t code = obj.validate();
            if (code == 0) return true;
            failed = {code, obj.getObjID()};
            return false;
        },
        [](const std::vector<IZRMutableKorObject*>&) { return true; });
    return failed;
}

std::wstring verifyReport(const CZRKorDocument& document, std::uint32_t objID) {
    std::wstring report = L"Verify error : ";
    const IZRMutableKorObject* failing = document.objects().lookup(objID);
    if (failing == nullptr) return report;
    std::vector<std::uint32_t> path;
    failing->getObjIDPath(path);
    for (const std::uint32_t id : path) {
        const IZRMutableKorObject* obj = document.objects().lookup(id);
        if (obj == nullptr) continue;
        if (obj == failing) {
            report += L"\nERROR >>>>> ";
            obj->dump(report, 0);
            report += L" <<<<< ERROR\n";
        } else {
            obj->dump(report, 0);
        }
    }
    return report;
}

std::uint32_t verifyTree(CZRKorDocument* document, std::wstring& report) {
    if (document == nullptr || document->root() == nullptr) {
        report = L"Verify error : ";
        return ZR_E_INVALID_SEQUENCE;
    }
    const ZRCreateContext context = document->context();
    const CorrectResult repaired = correctTree(*document->root(), document->objects(), context);
    if (repaired.code != 0) {
        report = verifyReport(*document, repaired.objID);
        return repaired.code;
    }
    const CorrectResult checked = validateTree(*document->root());
    if (checked.code != 0) report = verifyReport(*document, checked.objID);
    return checked.code;
}

} // namespace kor
