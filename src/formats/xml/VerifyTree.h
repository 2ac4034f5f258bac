// The check of a freshly read song: repair and validation of every object, with a readable report.
#pragma once

#include "model/ObjectTree.h"

#include <cstdint>
#include <string>

class CZRKorDocument;

namespace kor {

/// Checks the tree that a reader built in `document`, in two walks from the root, each object
/// before its children. The first repairs every object in place and stops at the first one that
/// stays invalid, returning its code without the unrepairable bit (ZR_E_INVALID_SEQUENCE when
/// there is no document or root). The second validates every object of a song root and stops at
/// the first fault, returning its code. On a
/// fault `report` becomes "Verify error : " followed by the dumps of the objects on the failing
/// object's path, top down, the failing one enclosed in "\nERROR >>>>> " and " <<<<< ERROR\n".
/// Returns 0 for a sound tree, leaving `report` untouched.
std::uint32_t verifyTree(CZRKorDocument* document, std::wstring& report);

/// Validates `root` and its descendants, each object before its children, without repairing
/// anything: the code of the first fault and its object's ID, or a zero code for a sound tree.
CorrectResult validateTree(const IZRMutableKorObject& root);

/// The "Verify error : " report for the object `objID` of `document` (see verifyTree).
std::wstring verifyReport(const CZRKorDocument& document, std::uint32_t objID);

} // namespace kor
