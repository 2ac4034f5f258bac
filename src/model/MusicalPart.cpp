#include "model/MusicalPart.h"

#include "model/MusicalNote.h"
#include "model/MusicalSinger.h"

#include <korman/ErrorCodes.h>

#include <algorithm>
#include <atomic>
#include <limits>

namespace {

// Bank select in the high half, program change in the low half: one word, so that a reader
// never pairs the bank of one default voice with the program of another.
std::atomic<std::uint64_t> defaultSingerKey{0};

constexpr kor::ListCheckCodes kStyleControlChecks{ZR_E_STYLE_CONTROL_IS_NULL,
                                                  ZR_E_STYLE_CONTROLS_ARE_DUPLICATED};
constexpr kor::ListRepairCodes kStyleControlRepairs{ZR_E_STYLE_CONTROL_IS_NULL | kor::kUnrepairable,
                                                    ZR_E_STYLE_CONTROLS_ARE_DUPLICATED |
                                                        kor::kUnrepairable};

void collectIDs(const kor::ListMap& map, std::vector<std::wstring>& ids) {
    ids.clear();
    for (const auto& [id, list] : map)
        ids.push_back(id);
}

} // namespace

namespace kor {

void setDefaultSinger(std::int32_t vBS, std::int32_t vPC) {
    defaultSingerKey =
        std::uint64_t{static_cast<std::uint32_t>(vBS)} << 32 | static_cast<std::uint32_t>(vPC);
}

std::pair<std::int32_t, std::int32_t> defaultSinger() {
    const std::uint64_t key = defaultSingerKey.load();
    return {static_cast<std::int32_t>(key >> 32), static_cast<std::int32_t>(key & 0xFFFFFFFFu)};
}

} // namespace kor

void CZRMusicalPart::getPhraseStyleIDs(std::vector<std::wstring>& ids) const {
    collectIDs(phraseStyles_, ids);
}

void CZRMusicalPart::getStyleControlIDs(std::vector<std::wstring>& ids) const {
    collectIDs(styleControls_, ids);
}

CZRNodeList* CZRMusicalPart::controlList(std::int32_t type) const {
    return kor::listAt(controls_, type);
}

bool CZRMusicalPart::setStylePlugin(CZRStylePlugin* plugin) {
    return kor::setChildSlot(stylePlugin_, plugin, this);
}
bool CZRMusicalPart::setPartStyle(CZRPartStyleAttrib* style) {
    return kor::setChildSlot(partStyle_, style, this);
}
bool CZRMusicalPart::setSingerList(CZRNodeList* list) {
    return kor::setChildSlot(singers_, list, this);
}
bool CZRMusicalPart::setNoteList(CZRNodeList* list) {
    return kor::setChildSlot(notes_, list, this);
}
bool CZRMusicalPart::setControlList(std::int32_t type, CZRNodeList* list) {
    return kor::setListAt(controls_, type, list, this);
}
bool CZRMusicalPart::setPhraseStyleList(const std::wstring& id, CZRNodeList* list) {
    return kor::setMapList(phraseStyles_, id, list, this);
}
bool CZRMusicalPart::setStyleControlList(const std::wstring& id, CZRNodeList* list) {
    return kor::setMapList(styleControls_, id, list, this);
}

std::uint32_t CZRMusicalPart::validate() const {
    if (const std::uint32_t code =
            kor::checkEachList(phraseStyles_, ZRObjType::StyleControl, kor::KeyOrder::Increasing,
                               -1, kStyleControlChecks))
        return code;
    if (singers_ == nullptr || singers_->getCount() == 0) return ZR_E_INVALID_SINGER_NUMBER;
    if (const std::uint32_t code =
            kor::checkOrderedList(singers_, CZRMusicalSinger::kType, kor::KeyOrder::Increasing, -1,
                                  {ZR_E_SINGER_IS_NULL, ZR_E_SINGERS_ARE_DUPLICATED}))
        return code;
    if (const std::uint32_t code = kor::checkEachList(
            controls_, ZRObjType::MusicalControl, kor::KeyOrder::Increasing, -1,
            {ZR_E_MUSICAL_CONTROL_IS_NULL, ZR_E_MUSICAL_CONTROLS_ARE_DUPLICATED}))
        return code;
    if (const std::uint32_t code =
            kor::checkEachList(styleControls_, ZRObjType::StyleControl, kor::KeyOrder::Increasing,
                               -1, kStyleControlChecks))
        return code;
    if (const std::uint32_t code = kor::checkOrderedList(
            notes_, ZRObjType::MusicalNote, kor::KeyOrder::Any, 0, {ZR_E_NOTE_IS_NULL, 0}))
        return code;
    return part().validate();
}

std::uint32_t CZRMusicalPart::correct(CZRObjectTable& table, const ZRCreateContext& context) {
    using kor::unrepairable;
    const std::uint32_t partResult = part().correct(table, context);
    if ((partResult & kor::kUnrepairable) != 0) return partResult;

    const auto [vBS, vPC] = kor::defaultSinger();
    constexpr auto rule = kor::DropRule::RepeatedOrNegative;
    kor::RepairResult events;
    const bool repaired =
        events.add(kor::dropInEachList(phraseStyles_, ZRObjType::StyleControl, rule,
                                       kStyleControlRepairs, table)) &&
        events.add(kor::repairHeadedList<CZRMusicalSinger>(
            singers_, this,
            kor::headedListCodes(ZR_E_SINGER_IS_NULL, ZR_E_SINGERS_ARE_DUPLICATED,
                                 ZR_E_INVALID_SINGER_NUMBER),
            ZRMusicalSingerValues{0, vBS, vPC},
            [](CZRMusicalSinger& singer) { singer.values().posTick = 0; }, table, context)) &&
        events.add(kor::dropInEachList(controls_, ZRObjType::MusicalControl, rule,
                                       {unrepairable(ZR_E_MUSICAL_CONTROL_IS_NULL),
                                        unrepairable(ZR_E_MUSICAL_CONTROLS_ARE_DUPLICATED)},
                                       table)) &&
        events.add(kor::dropInEachList(styleControls_, ZRObjType::StyleControl, rule,
                                       kStyleControlRepairs, table)) &&
        // A note before the part's start is left for its own check, which refuses it: a song
        // read from a file never loses a note without a word.
        events.add(unrepairable(kor::checkOrderedList(
            notes_, ZRObjType::MusicalNote, kor::KeyOrder::Any, 0, {ZR_E_NOTE_IS_NULL, 0})));
    if (!repaired) return events.value();

    updateDerivedLength();
    return events.value() != 0 ? 1 : partResult;
}

std::int32_t CZRMusicalPart::contentLength() const {
    std::int32_t end = 0;
    auto takeLast = [&end](const CZRNodeList* list) { end = std::max(end, kor::lastKey(list, 0)); };
    for (const auto& [id, list] : phraseStyles_)
        takeLast(list);
    takeLast(singers_);
    for (const CZRNodeList* list : controls_)
        takeLast(list);
    for (const auto& [id, list] : styleControls_)
        takeLast(list);
    if (notes_ != nullptr)
        for (const IZRMutableKorObject* element : notes_->elements())
            if (const auto* note = kor::objCast<CZRMusicalNote>(element))
                end = static_cast<std::int32_t>(
                    std::clamp<std::int64_t>(std::int64_t{note->getPosTick()} + note->getDurTick(),
                                             end, std::numeric_limits<std::int32_t>::max()));
    return end;
}

bool CZRMusicalPart::copyChildren(const CZRMusicalPart& source, std::uint32_t copyFlags,
                                  const ZRCreateContext& context) {
    return kor::copyChildSlot(stylePlugin_, source.stylePlugin_, this, copyFlags, context) &&
           kor::copyChildSlot(partStyle_, source.partStyle_, this, copyFlags, context) &&
           kor::copyMapLists(phraseStyles_, source.phraseStyles_, this, copyFlags, context) &&
           kor::copyChildSlot(singers_, source.singers_, this, copyFlags, context) &&
           kor::copyListRow(controls_, source.controls_, this, copyFlags, context) &&
           kor::copyMapLists(styleControls_, source.styleControls_, this, copyFlags, context) &&
           kor::copyChildSlot(notes_, source.notes_, this, copyFlags, context);
}

void CZRMusicalPart::dumpFields(std::wstring& out) const {
    part().dumpPartLine(out, nullptr);
    out += L" ";
}
