// One editing session in one call: take the editor, make the edits, commit them, give it back.
#pragma once

#include <korman/CZRKorManagerIF.h>
#include <korman/ErrorCodes.h>
#include <korman/IZRKorEditorIF.h>

#include <cstdint>
#include <string>

namespace kor {

/// Takes the manager's editor (editGetKorEditor with `owner`), runs `edits(editor)` with it,
/// commits what the edits recorded as one undo step named `label` (null or "" for none) when
/// `edits` returns true (or nonzero), and gives the editor back (editReleaseKorEditor, which
/// discards whatever was not committed). So a group of edits is one undo step:
///     kor::commitEdits(manager, L"Transpose", [&](IZRKorEditorIF& editor) { ...; return true; });
/// Returns 0 when the edits were committed. Else a code of <korman/ErrorCodes.h>, nothing of the
/// edits reaching the song: the manager's (sysGetLastError) when the editor cannot be taken
/// (ZR_E_NO_SEQUENCE, ZR_E_EDIT_CONFLICT while another editor is out), else the editor's last
/// error when `edits` returned false or the commit failed (ZR_E_UPDATE_FAILED when `edits`
/// returned false with no editor error left). When `message` is not null it receives the
/// failure's message (the editor's or the manager's), or is cleared on success; the caller owns
/// it. `edits` must not take or release the editor itself; an exception it throws passes
/// through, the editor given back first.
template <class Edits>
std::uint32_t commitEdits(CZRKorManagerIF& manager, const wchar_t* label, Edits&& edits,
                          std::wstring* message = nullptr, unsigned int owner = 1) {
    IZRKorEditorIF* editor = manager.editGetKorEditor(owner);
    if (editor == nullptr) {
        if (message != nullptr) *message = manager.sysGetLastErrorMsg();
        return manager.sysGetLastError();
    }
    // Gives the editor back however the edits end.
    struct Release {
        CZRKorManagerIF& manager;
        IZRKorEditorIF*& editor;
        ~Release() { manager.editReleaseKorEditor(editor); }
    } release{manager, editor};
    std::uint32_t code = 0;
    if (!edits(*editor))
        code = editor->getLastError() != 0 ? editor->getLastError() : ZR_E_UPDATE_FAILED;
    else if (editor->commit(label) == 0)
        code = editor->getLastError();
    if (message != nullptr) {
        if (code == 0)
            message->clear();
        else if (editor->getLastError() == code)
            *message = editor->getLastErrorMessage();
        else
            *message = editor->getErrorMessage(code);
    }
    return code;
}

} // namespace kor
