#include "Edit.h"

#include "Text.h"

#include <korman/ErrorCodes.h>
#include <korman/IZRKorEditorIF.h>
#include <korman/IZRMusicalNote.h>
#include <korman/IZRMusicalPart.h>
#include <korman/ZRValueOf.h>

#include <pybind11/stl.h>

#include <cmath>
#include <limits>
#include <utility>

namespace py = pybind11;

namespace kor::python {

namespace {

/// The owner value the module's editors send with the update messages.
constexpr unsigned int kEditOwner = 1;

} // namespace

Edit::Edit(std::shared_ptr<Song> song, std::wstring label)
    : song_(std::move(song))
    , label_(std::move(label)) {}

Edit::~Edit() {
    if (editor_ != nullptr) {
        const Song::Access access(*song_);
        release();
    }
}

void Edit::enter() {
    const Song::Access access(*song_);
    if (left_)
        throw Failure::fromTable(ZR_E_EDITOR_COMMITTED,
                                 L"An edit is entered once; make a new one.");
    if (editor_ != nullptr)
        throw Failure::fromTable(ZR_E_EDIT_CONFLICT, L"This edit is open already.");
    editor_ = song_->manager().editGetKorEditor(kEditOwner);
    if (editor_ == nullptr) throw Failure::fromManager(song_->manager());
}

void Edit::exit(bool failed) {
    const Song::Access access(*song_);
    if (editor_ == nullptr) return;
    std::optional<Failure> failure;
    if (!failed && editor_->commit(label_.c_str()) == 0) failure = Failure::fromEditor(*editor_);
    release();
    if (failure) throw *failure;
}

void Edit::release() {
    song_->manager().editReleaseKorEditor(editor_);
    editor_ = nullptr;
    left_ = true;
    updated_.clear();
}

IZRKorEditorIF& Edit::editor() {
    if (editor_ == nullptr)
        throw Failure::fromTable(left_ ? ZR_E_EDITOR_COMMITTED : ZR_E_INVALID_PARAMETER,
                                 L"An edit records only inside its with block.");
    return *editor_;
}

void Edit::check(int result) {
    if (result == 0) throw Failure::fromEditor(*editor_);
}

void Edit::update(const NoteView& note, const NoteChange& change) {
    const Song::Access access(*song_);
    IZRKorEditorIF& editor = this->editor();
    const auto earlier = updated_.find(note.id);
    ZRNoteValue value = earlier != updated_.end() ? earlier->second : kor::valueOf(note.object());
    const std::int32_t position = value.posTick;
    if (change.tick) value.posTick = *change.tick - note.partTick();
    if (change.length) value.durTick = *change.length;
    if (change.key) value.noteNum = *change.key;
    if (change.velocity) value.velocity = *change.velocity;
    if (change.lyric) value.lyric = *change.lyric;
    if (change.phonemes) value.phonemes = *change.phonemes;
    // Only a note that changes its place is moved: a move records the note list.
    check(value.posTick != position ? editor.moveNote(note.id, value)
                                    : editor.updateNote(note.id, value));
    updated_[note.id] = std::move(value);
}

NoteView Edit::insertNote(const PartView& part, std::int32_t tick, std::int32_t length,
                          std::int32_t key, std::int32_t velocity, const std::wstring& lyric,
                          const std::vector<std::wstring>& phonemes) {
    const Song::Access access(*song_);
    IZRKorEditorIF& editor = this->editor();
    const IZRMusicalPart& target = part.object();
    const IZRNodeList* notes = target.getNoteList();
    if (notes == nullptr)
        throw Failure::fromTable(ZR_E_EDIT_TARGET_NOT_FOUND,
                                 L"Part " + std::to_wstring(part.id) + L" has no note list.");
    check(editor.insertNote(notes->getObjID(), {tick - target.getPosTick(), length, key, velocity,
                                                lyric, phonemes, 0}));
    return {{song_, editor.getLastInsertedID()}};
}

void Edit::remove(const NoteView& note) {
    const Song::Access access(*song_);
    check(editor().deleteNote(note.id));
    updated_.erase(note.id);
}

void Edit::remove(const PartView& part) {
    const Song::Access access(*song_);
    check(editor().deleteMusicalPart(part.id));
}

void Edit::setTempo(std::int32_t tick, double bpm) {
    const Song::Access access(*song_);
    IZRKorEditorIF& editor = this->editor();
    // The library keeps hundredths of a beat per minute; a value no int holds is out of its range.
    const double hundredths = std::round(bpm * 100);
    if (!(std::fabs(hundredths) <= std::numeric_limits<std::int32_t>::max()))
        throw Failure::fromTable(ZR_E_INVALID_TEMPO_VALUE, L"The tempo " + std::to_wstring(bpm) +
                                                               L" BPM lies outside 20 to 300.");
    check(editor.insertTempo({tick, static_cast<std::int32_t>(hundredths)}));
}

void Edit::setTimeSignature(std::int32_t measure, std::int32_t numerator,
                            std::int32_t denominator) {
    const Song::Access access(*song_);
    check(editor().insertTimeSig({measure, numerator, denominator}));
}

void bindEdit(py::module_& module) {
    py::class_<Edit>(module, "Edit")
        .def("__enter__",
             [](Edit& edit) -> Edit& {
                 edit.enter();
                 return edit;
             })
        .def("__exit__",
             [](Edit& edit, const py::object& type, const py::object&, const py::object&) {
                 edit.exit(!type.is_none());
                 return false;
             })
        .def(
            "update",
            [](Edit& edit, const NoteView& note, std::optional<std::int32_t> tick,
               std::optional<std::int32_t> length, std::optional<std::int32_t> key,
               std::optional<std::int32_t> velocity, const py::object& lyric,
               const py::object& phonemes) {
                NoteChange change{tick, length, key, velocity, {}, {}};
                if (!lyric.is_none()) change.lyric = toWide(lyric);
                if (!phonemes.is_none()) change.phonemes = toWideList(phonemes);
                edit.update(note, change);
            },
            py::arg("note"), py::kw_only(), py::arg("tick") = py::none(),
            py::arg("length") = py::none(), py::arg("key") = py::none(),
            py::arg("velocity") = py::none(), py::arg("lyric") = py::none(),
            py::arg("phonemes") = py::none())
        .def(
            "insert_note",
            [](Edit& edit, const PartView& part, std::int32_t tick, std::int32_t length,
               std::int32_t key, std::int32_t velocity, const py::object& lyric,
               const py::object& phonemes) {
                // Phonemes are sung as given: the library derives none from the lyric.
                return edit.insertNote(part, tick, length, key, velocity, toWide(lyric),
                                       phonemes.is_none() ? std::vector<std::wstring>{L"a"}
                                                          : toWideList(phonemes));
            },
            py::arg("part"), py::kw_only(), py::arg("tick"), py::arg("length"), py::arg("key"),
            py::arg("velocity") = 64, py::arg("lyric") = py::str("a"),
            py::arg("phonemes") = py::none())
        .def("delete", py::overload_cast<const NoteView&>(&Edit::remove), py::arg("note"))
        .def("delete", py::overload_cast<const PartView&>(&Edit::remove), py::arg("part"))
        .def("set_tempo", &Edit::setTempo, py::kw_only(), py::arg("tick"), py::arg("bpm"))
        .def("set_time_signature", &Edit::setTimeSignature, py::kw_only(), py::arg("measure"),
             py::arg("numerator"), py::arg("denominator"));
}

} // namespace kor::python
