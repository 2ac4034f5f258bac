#include "formats/kor3/PartNodes.h"

#include "formats/kor3/NoteNodes.h"
#include "formats/kor3/PartValues.h"

namespace Kor3 {

namespace {

/// List types of a musical part's event lists.
constexpr ZRObjType kNoteList = ZRObjType::MusicalNote;
constexpr ZRObjType kSingerList = ZRObjType::MusicalSinger;
constexpr ZRObjType kControlList = ZRObjType::MusicalControl;
constexpr ZRObjType kStyleControlList = ZRObjType::StyleControl;

constexpr TZRValueField<CZRStylePlugin> kStylePluginValues[] = {
    {kStylePluginID, &CZRStylePlugin::setID},
    {kStylePluginName, &CZRStylePlugin::setName},
    {kVersion, &CZRStylePlugin::setVersion},
};

// Each attr stores its value under its id.
constexpr TZRValueField<CZRPartStyleAttrib> kPartStyleValues[] = {
    {kAttr, [](CZRPartStyleAttrib& style,
               const CZRXmlValue& value) { style.setValue(value.attribute(kId), value.number()); }},
};

// The attr names the event's attribute and gives its value; a later attr wins.
constexpr TZRValueField<ZRStyleControlValues> kStyleControlValues[] = {
    {kPosTick, &ZRStyleControlValues::posTick},
    {kAttr,
     [](ZRStyleControlValues& values, const CZRXmlValue& value) {
         values.id = value.attribute(kId);
         values.val = value.number();
     }},
};

} // namespace

bool CZRMusicalPartNode::begin() {
    part_ = create<CZRMusicalPart>();
    if (part_ == nullptr) return false;
    append(parts_, part_);
    CZRNodeList* notes = createList(kNoteList);
    CZRNodeList* singers = createList(kSingerList);
    if (notes == nullptr || singers == nullptr || !check(part_->setNoteList(notes)) ||
        !check(part_->setSingerList(singers)))
        return false;
    for (std::int32_t type = 0; type < CZRMusicalPart::kControlTypes; ++type) {
        CZRNodeList* controls = createList(kControlList, type);
        if (controls == nullptr || !check(part_->setControlList(type, controls))) return false;
    }
    return true;
}

std::size_t CZRMusicalPartNode::findValue(std::u16string_view name) const {
    return findRow(kPartValues, name);
}

bool CZRMusicalPartNode::startStructured(const ZRXmlStartTag& tag) {
    if (tag.name == kNote) {
        startNodeChild<CZRMusicalNoteNode>(part_->noteList());
    } else if (tag.name == kSinger) {
        startNodeChild<CZRMusicalSingerNode>(part_->singerList());
    } else if (tag.name == kMCtrl) {
        startNodeChild<CZRMusicalControlNode>(part_);
    } else if (tag.name == kPhraseStyle) {
        startNodeChild<CZRStyleControlNode>(part_, CZRStyleControlNode::Kind::PhraseStyle);
    } else if (tag.name == kSCtrl) {
        startNodeChild<CZRStyleControlNode>(part_, CZRStyleControlNode::Kind::StyleControl);
    } else if (tag.name == kStylePlugin) {
        if (part_->stylePlugin() == nullptr) {
            CZRStylePlugin* plugin = create<CZRStylePlugin>();
            if (plugin == nullptr || !check(part_->setStylePlugin(plugin))) return false;
        }
        startNodeChild<CZRStylePluginNode>(part_->stylePlugin());
    } else if (tag.name == kPartStyle) {
        if (part_->partStyle() == nullptr) {
            CZRPartStyleAttrib* style = create<CZRPartStyleAttrib>();
            if (style == nullptr || !check(part_->setPartStyle(style))) return false;
        }
        startNodeChild<CZRPartStyleNode>(part_->partStyle());
    } else {
        return false;
    }
    return true;
}

void CZRMusicalPartNode::takeRowValue(std::size_t row, const CZRXmlValue& value) {
    kPartValues[row].take(part_->part(), value);
}

void CZRMusicalPartNode::finish() {
    sortList(part_->noteList());
    sortList(part_->singerList());
    for (std::int32_t type = 0; type < CZRMusicalPart::kControlTypes; ++type)
        sortList(part_->controlList(type));
    for (const auto& [id, list] : part_->phraseStyleLists())
        sortList(list);
    for (const auto& [id, list] : part_->styleControlLists())
        sortList(list);
}

std::size_t CZRStylePluginNode::findValue(std::u16string_view name) const {
    return findRow(kStylePluginValues, name);
}

void CZRStylePluginNode::takeRowValue(std::size_t row, const CZRXmlValue& value) {
    kStylePluginValues[row].take(*plugin_, value);
}

std::size_t CZRPartStyleNode::findValue(std::u16string_view name) const {
    return findRow(kPartStyleValues, name);
}

void CZRPartStyleNode::takeRowValue(std::size_t row, const CZRXmlValue& value) {
    kPartStyleValues[row].take(*style_, value);
}

bool CZRStyleControlNode::begin() {
    event_ = create<CZRStyleControl>();
    return event_ != nullptr;
}

std::size_t CZRStyleControlNode::findValue(std::u16string_view name) const {
    return findRow(kStyleControlValues, name);
}

void CZRStyleControlNode::takeRowValue(std::size_t row, const CZRXmlValue& value) {
    kStyleControlValues[row].take(event_->values(), value);
}

void CZRStyleControlNode::finish() {
    check(addStyleEvent(context(), *part_, kind_, event_->values().id, event_));
}

bool addStyleEvent(const ZRCreateContext& context, CZRMusicalPart& part, StyleListKind kind,
                   const std::wstring& id, CZRStyleControl* event) {
    const bool phrase = kind == StyleListKind::PhraseStyle;
    CZRNodeList* list = phrase ? kor::findMapList(part.phraseStyleLists(), id)
                               : kor::findMapList(part.styleControlLists(), id);
    if (list == nullptr) {
        list = kor::createList(context, kStyleControlList, phrase ? -1 : 0);
        if (list == nullptr ||
            !(phrase ? part.setPhraseStyleList(id, list) : part.setStyleControlList(id, list)))
            return false;
    }
    return list->append(event);
}

} // namespace Kor3
