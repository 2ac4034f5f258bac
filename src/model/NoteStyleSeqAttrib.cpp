#include "model/NoteStyleSeqAttrib.h"

#include "model/NoteStyleSeqAttribElement.h"

#include <korman/ErrorCodes.h>

namespace {

bool badID(const std::wstring& id) {
    return id.empty() || id.size() > CZRNoteStyleSeqAttrib::kMaxIDLength;
}

// Removes the points placed after the note's end, which the repeated-or-negative rule of the
// list repair does not cover.
std::uint32_t dropPointsPastTheEnd(CZRNodeList& list, CZRObjectTable& table) {
    std::uint32_t removed = 0;
    for (std::uint32_t i = 0; i < list.getCount();) {
        const IZRMutableKorObject* point = list.elementAt(i);
        if (point->getSortKey() <= CZRNoteStyleSeqAttribElement::kMaxPosNrm) {
            ++i;
            continue;
        }
        const std::uint32_t id = point->getObjID();
        if (!list.removeByID(id))
            return ZR_E_SEQUENTIAL_NOTE_STYLE_ATTRIBUTES_ARE_DUPLICATED | kor::kUnrepairable;
        table.destroy(id);
        removed = 1;
    }
    return removed;
}

} // namespace

IZRNodeList* CZRNoteStyleSeqAttrib::getElementList(const wchar_t* id) const {
    return id != nullptr ? elementList(id) : nullptr;
}

void CZRNoteStyleSeqAttrib::getIDs(std::vector<std::wstring>& ids) const {
    ids.clear();
    for (const auto& [id, list] : lists_)
        ids.push_back(id);
}

bool CZRNoteStyleSeqAttrib::setElementList(const std::wstring& id, CZRNodeList* list) {
    return kor::setMapList(lists_, id, list, this);
}

std::uint32_t CZRNoteStyleSeqAttrib::validate() const {
    for (const auto& [id, list] : lists_) {
        if (badID(id)) return ZR_E_INVALID_SEQUENTIAL_NOTE_STYLE_ATTRIBUTE_ID;
        if (const std::uint32_t code = kor::checkOrderedList(
                list, ZRObjType::NoteStyleSeqAttribElement, kor::KeyOrder::Distinct,
                -CZRNoteStyleSeqAttribElement::kMaxPosNrm,
                {ZR_E_SEQUENTIAL_NOTE_STYLE_ATTRIBUTE_IS_NULL,
                 ZR_E_SEQUENTIAL_NOTE_STYLE_ATTRIBUTES_ARE_DUPLICATED}))
            return code;
    }
    return 0;
}

std::uint32_t CZRNoteStyleSeqAttrib::correct(CZRObjectTable& table, const ZRCreateContext&) {
    std::uint32_t result = 0;
    for (const auto& [id, list] : lists_) {
        if (badID(id)) return ZR_E_INVALID_SEQUENTIAL_NOTE_STYLE_ATTRIBUTE_ID | kor::kUnrepairable;
        std::uint32_t dropped = kor::dropBadElements(
            list, ZRObjType::NoteStyleSeqAttribElement, kor::DropRule::RepeatedOrNegative,
            {ZR_E_SEQUENTIAL_NOTE_STYLE_ATTRIBUTE_IS_NULL | kor::kUnrepairable,
             ZR_E_SEQUENTIAL_NOTE_STYLE_ATTRIBUTES_ARE_DUPLICATED | kor::kUnrepairable},
            table);
        if ((dropped & kor::kUnrepairable) == 0 && list != nullptr)
            dropped |= dropPointsPastTheEnd(*list, table);
        if ((dropped & kor::kUnrepairable) != 0) return dropped;
        result |= dropped;
    }
    return result;
}

bool CZRNoteStyleSeqAttrib::copyChildren(const CZRNoteStyleSeqAttrib& source,
                                         std::uint32_t copyFlags, const ZRCreateContext& context) {
    return kor::copyMapLists(lists_, source.lists_, this, copyFlags, context);
}

void CZRNoteStyleSeqAttrib::dumpFields(std::wstring& out) const {
    for (const auto& [id, list] : lists_)
        kor::appendFormat(out, L" id=%ls ", id.c_str());
}
