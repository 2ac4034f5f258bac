#include "model/NoteStyleSeqAttribElement.h"

void CZRNoteStyleSeqAttribElement::dumpFields(std::wstring& out) const {
    kor::appendFormat(out, L" posNrm=%d elv=%d ", values().posNrm, values().elv);
}
