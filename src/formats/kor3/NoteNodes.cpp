#include "formats/kor3/NoteNodes.h"

#include "formats/kor3/EventNodes.h"
#include "platform/Wtoi.h"

namespace Kor3 {

namespace {

constexpr ZRObjType kSeqPointList = ZRObjType::NoteStyleSeqAttribElement;
// The style values of a note of the default style plug-in: seven singing-style values and two of
// the vibrato.
constexpr std::size_t kNoteStyleValues = 9;

/// The list sub-kind of the points of the sequential style `id`.
std::int32_t seqStyleKind(const std::wstring& id) {
    if (id == L"vibDep") return CZRNoteStyleSeqAttrib::kVibDepKind;
    if (id == L"vibRate") return CZRNoteStyleSeqAttrib::kVibRateKind;
    return -1;
}

// The phnms text is split at blanks into phonemes appended in order; its lock attribute, when
// non-zero, locks them.
void takePhonemes(ZRMusicalNoteValues& values, const CZRXmlValue& value) {
    appendPhonemes(value.text(), values.phonemes);
    if (kor::wtoi(value.attribute(kLock).c_str()) != 0) values.phLock = 1;
}

constexpr TZRValueField<ZRMusicalNoteValues> kNoteValues[] = {
    {kPosTick, &ZRMusicalNoteValues::posTick}, {kDurTick, &ZRMusicalNoteValues::durTick},
    {kNoteNum, &ZRMusicalNoteValues::noteNum}, {kVelocity, &ZRMusicalNoteValues::velocity},
    {kLyric, &ZRMusicalNoteValues::lyric},     {kPhnms, takePhonemes},
};

// Each attr stores its value under its id.
constexpr TZRValueField<CZRNoteStyleAttrib> kStyleAttrValues[] = {
    {kAttr, [](CZRNoteStyleAttrib& style,
               const CZRXmlValue& value) { style.setValue(value.attribute(kId), value.number()); }},
};

} // namespace

void appendPhonemes(std::wstring_view text, std::vector<std::wstring>& phonemes) {
    // Room for all pieces at once, so that the list is not moved as it grows.
    std::size_t pieces = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] != L' ' && (i == 0 || text[i - 1] == L' ')) ++pieces;
    phonemes.reserve(phonemes.size() + pieces);
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = std::min(text.find(L' ', pos), text.size());
        if (end > pos) phonemes.emplace_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
}

bool CZRMusicalNoteNode::begin() {
    note_ = create<CZRMusicalNote>();
    if (note_ == nullptr) return false;
    append(notes_, note_);
    return true;
}

std::size_t CZRMusicalNoteNode::findValue(std::u16string_view name) const {
    return findRow(kNoteValues, name);
}

bool CZRMusicalNoteNode::startStructured(const ZRXmlStartTag& tag) {
    if (tag.name != kNoteStyle) return false;
    startNodeChild<CZRMusicalNoteStyleNode>(note_);
    return true;
}

void CZRMusicalNoteNode::takeRowValue(std::size_t row, const CZRXmlValue& value) {
    kNoteValues[row].take(note_->values(), value);
}

// Made at the first value, so that an empty element leaves the note without styles: that is how
// a note without styles is written, and two empty styles would not pass the note's check.
bool CZRMusicalNoteStyleNode::begin() {
    if (note_->noteStyle() == nullptr) {
        CZRNoteStyleAttrib* style = create<CZRNoteStyleAttrib>();
        if (style == nullptr || !check(note_->setNoteStyle(style))) return false;
        // Room for the values a note of the default style plug-in carries, so that reading them
        // one by one moves none and leaves no unused room behind.
        style->reserveValues(kNoteStyleValues);
    }
    if (note_->noteSeqStyle() == nullptr) {
        CZRNoteStyleSeqAttrib* seqStyle = create<CZRNoteStyleSeqAttrib>();
        if (seqStyle == nullptr || !check(note_->setNoteSeqStyle(seqStyle))) return false;
    }
    return true;
}

std::size_t CZRMusicalNoteStyleNode::findValue(std::u16string_view name) const {
    return findRow(kStyleAttrValues, name);
}

bool CZRMusicalNoteStyleNode::startStructured(const ZRXmlStartTag& tag) {
    if (tag.name != kSeqAttr) return false;
    const std::wstring& id = parser()->wideText(tag.attribute(kId));
    CZRNodeList* points = createList(kSeqPointList, seqStyleKind(id));
    if (points == nullptr || !check(note_->noteSeqStyle()->setElementList(id, points)))
        return false;
    startNodeChild<CZRMusicalNoteSeqStyleNode>(points);
    return true;
}

void CZRMusicalNoteStyleNode::takeRowValue(std::size_t row, const CZRXmlValue& value) {
    kStyleAttrValues[row].take(*note_->noteStyle(), value);
}

bool CZRMusicalNoteSeqStyleNode::startStructured(const ZRXmlStartTag& tag) {
    if (tag.name != kElem) return false;
    startNodeChild<CZRMusicalNoteSeqStyleElementNode>(points_);
    return true;
}

} // namespace Kor3
