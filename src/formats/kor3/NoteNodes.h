// The nodes of a note of a KOR3 document: the note, its style and its sequential style curves.
#pragma once

#include "formats/kor3/ReaderNode.h"
#include "model/MusicalNote.h"
#include "model/NoteStyleAttrib.h"
#include "model/NoteStyleSeqAttrib.h"
#include "model/NoteStyleSeqAttribElement.h"

namespace Kor3 {

/// A note, created at the first child and added to the part; values apply as they arrive. The
/// phnms text is split at blanks into phonemes appended in order; its lock attribute, when
/// non-zero, locks them.
class CZRMusicalNoteNode final : public AZRKor3Node {
public:
    CZRMusicalNoteNode(AZRXmlParser* parser, AZRXmlNode* parent, CZRKorDocument* document,
                       CZRNodeList* notes)
        : AZRKor3Node(parser, parent, document)
        , notes_(notes) {}

private:
    bool begin() override;
    std::size_t findValue(std::u16string_view name) const override;
    bool startStructured(const ZRXmlStartTag& tag) override;
    void takeRowValue(std::size_t row, const CZRXmlValue& value) override;

    CZRNodeList* notes_;
    CZRMusicalNote* note_ = nullptr;
};

/// The note's style and sequential style (both created at the element's first child when the
/// note has none; an empty element leaves the note without styles): each attr stores its value
/// under its id; each seqAttr starts a new curve of that id.
class CZRMusicalNoteStyleNode final : public AZRKor3Node {
public:
    CZRMusicalNoteStyleNode(AZRXmlParser* parser, AZRXmlNode* parent, CZRKorDocument* document,
                            CZRMusicalNote* note)
        : AZRKor3Node(parser, parent, document)
        , note_(note) {}

private:
    bool begin() override;
    std::size_t findValue(std::u16string_view name) const override;
    bool startStructured(const ZRXmlStartTag& tag) override;
    void takeRowValue(std::size_t row, const CZRXmlValue& value) override;

    CZRMusicalNote* note_;
};

/// One sequential style curve: collects its points and sorts them at the end.
class CZRMusicalNoteSeqStyleNode final : public AZRKor3Node {
public:
    CZRMusicalNoteSeqStyleNode(AZRXmlParser* parser, AZRXmlNode* parent, CZRKorDocument* document,
                               CZRNodeList* points)
        : AZRKor3Node(parser, parent, document)
        , points_(points) {}

private:
    bool startStructured(const ZRXmlStartTag& tag) override;
    void finish() override { sortList(points_); }

    CZRNodeList* points_;
};

struct SeqStylePointTraits {
    using Object = CZRNoteStyleSeqAttribElement;
    static constexpr TZRValueField<ZRNoteStyleSeqAttribElementValues> kValues[] = {
        {kPosNrm, &ZRNoteStyleSeqAttribElementValues::posNrm},
        {kElv, &ZRNoteStyleSeqAttribElementValues::elv},
    };
};

/// A point of a sequential style curve, built at the end from posNrm and elv.
using CZRMusicalNoteSeqStyleElementNode = TZRBuiltNode<SeqStylePointTraits>;

/// Appends to `phonemes` those of a phnms text: the pieces between blanks, in order, empty
/// pieces skipped.
void appendPhonemes(std::wstring_view text, std::vector<std::wstring>& phonemes);

} // namespace Kor3
