#include "Views.h"

#include "Text.h"

#include <korman/IZRMusicalNote.h>
#include <korman/IZRMusicalPart.h>
#include <korman/IZRKorRoot.h>
#include <korman/IZRMusicalSinger.h>
#include <korman/IZRSequence.h>
#include <korman/IZRZRTrack.h>
#include <korman/ZRNodeRange.h>

#include <pybind11/operators.h>
#include <pybind11/stl.h>

#include <functional>
#include <string>
#include <tuple>

namespace py = pybind11;

namespace kor::python {

std::int32_t NoteView::partTick() const {
    // A note sits in its part's note list.
    const IZRKorObject* list = object().getParent();
    const auto* part = list != nullptr ? dynamic_cast<const IZRPart*>(list->getParent()) : nullptr;
    return part != nullptr ? part->getPosTick() : 0;
}

std::int32_t NoteView::tick() const {
    return partTick() + object().getPosTick();
}

std::vector<TrackView> tracksOf(const std::shared_ptr<Song>& song) {
    const IZRKorRoot* root = song->manager().korGetCurrentSequence();
    if (root == nullptr) throw Failure::fromManager(song->manager());
    const IZRSequence* sequence = root->getSequence();
    std::vector<TrackView> tracks;
    for (const IZRZRTrack* track :
         kor::elements<IZRZRTrack>(sequence != nullptr ? sequence->getZRTrackList() : nullptr))
        tracks.push_back({{song, track->getObjID()}});
    return tracks;
}

std::vector<PartView> partsOf(const TrackView& track) {
    std::vector<PartView> parts;
    for (const IZRMusicalPart* part : kor::elements<IZRMusicalPart>(track.object().getPartList()))
        parts.push_back({{track.song, part->getObjID()}});
    return parts;
}

std::vector<NoteView> notesOf(const PartView& part) {
    std::vector<NoteView> notes;
    const IZRNodeList* list = part.object().getNoteList();
    notes.reserve(list != nullptr ? list->getCount() : 0);
    for (const IZRMusicalNote* note : kor::elements<IZRMusicalNote>(list))
        notes.push_back({{part.song, note->getObjID()}});
    return notes;
}

namespace {

// Binds what every view shares: its ID, equality and hashing by song and ID, and a repr that
// names the kind, the ID and what `describe` tells of the object (or that it is gone).
template <class V>
py::class_<V> bindView(py::module_& module, const char* name,
                       std::function<std::string(const V&)> describe) {
    const std::string kind = std::string("<korman.") + name + " ";
    return py::class_<V>(module, name)
        .def_property_readonly("id", [](const V& view) { return view.id; })
        .def(py::self == py::self)
        .def("__hash__",
             [](const V& view) { return std::hash<const void*>()(view.song.get()) ^ view.id; })
        .def("__repr__", [kind, describe](const V& view) {
            const Song::Access access(*view.song);
            try {
                return kind + std::to_string(view.id) + " " + describe(view) + ">";
            } catch (const Failure&) {
                return kind + std::to_string(view.id) + " (deleted)>";
            }
        });
}

// A name for a repr.
std::string quoted(const std::wstring& text) {
    return py::repr(toStr(text));
}

} // namespace

void bindViews(py::module_& module) {
    bindView<TrackView>(module, "Track",
                        [](const TrackView& t) { return quoted(t.object().getName()); })
        .def_property_readonly("name",
                               [](const TrackView& t) {
                                   const Song::Access access(*t.song);
                                   return toStr(t.object().getName());
                               })
        .def_property_readonly("index",
                               [](const TrackView& t) {
                                   const Song::Access access(*t.song);
                                   return t.object().getTrackNo();
                               })
        .def_property_readonly("parts", [](const TrackView& t) {
            const Song::Access access(*t.song);
            return partsOf(t);
        });

    bindView<PartView>(module, "Part",
                       [](const PartView& p) {
                           return quoted(p.object().getName()) +
                                  " tick=" + std::to_string(p.object().getPosTick());
                       })
        .def_property_readonly("name",
                               [](const PartView& p) {
                                   const Song::Access access(*p.song);
                                   return toStr(p.object().getName());
                               })
        .def_property_readonly("tick",
                               [](const PartView& p) {
                                   const Song::Access access(*p.song);
                                   return p.object().getPosTick();
                               })
        .def_property_readonly("length",
                               [](const PartView& p) {
                                   const Song::Access access(*p.song);
                                   return p.object().getPlayTime();
                               })
        .def_property_readonly("notes",
                               [](const PartView& p) {
                                   const Song::Access access(*p.song);
                                   return notesOf(p);
                               })
        .def_property_readonly("singers", [](const PartView& p) {
            // (tick from the song's tick 0, bank select, program change) of each singer.
            const Song::Access access(*p.song);
            const IZRMusicalPart& part = p.object();
            std::vector<std::tuple<int, int, int>> singers;
            for (const IZRMusicalSinger* singer :
                 kor::elements<IZRMusicalSinger>(part.getSingerList()))
                singers.emplace_back(part.getPosTick() + singer->getPosTick(), singer->getVBS(),
                                     singer->getVPC());
            return singers;
        });

    bindView<NoteView>(module, "Note",
                       [](const NoteView& n) {
                           return "tick=" + std::to_string(n.tick()) +
                                  " key=" + std::to_string(n.object().getNoteNum()) + " " +
                                  quoted(n.object().getLyric());
                       })
        .def_property_readonly("tick",
                               [](const NoteView& n) {
                                   const Song::Access access(*n.song);
                                   return n.tick();
                               })
        .def_property_readonly("length",
                               [](const NoteView& n) {
                                   const Song::Access access(*n.song);
                                   return n.object().getDurTick();
                               })
        .def_property_readonly("key",
                               [](const NoteView& n) {
                                   const Song::Access access(*n.song);
                                   return n.object().getNoteNum();
                               })
        .def_property_readonly("velocity",
                               [](const NoteView& n) {
                                   const Song::Access access(*n.song);
                                   return n.object().getVelocity();
                               })
        .def_property_readonly("lyric",
                               [](const NoteView& n) {
                                   const Song::Access access(*n.song);
                                   return toStr(n.object().getLyric());
                               })
        .def_property_readonly("phonemes",
                               [](const NoteView& n) {
                                   const Song::Access access(*n.song);
                                   const IZRMusicalNote& note = n.object();
                                   py::list phonemes;
                                   for (std::uint32_t i = 0; i < note.getPhonemeCount(); ++i)
                                       phonemes.append(toStr(note.getPhoneme(i)));
                                   return phonemes;
                               })
        .def_property_readonly("seconds",
                               [](const NoteView& n) {
                                   const Song::Access access(*n.song);
                                   return n.song->seconds(n.tick());
                               })
        .def_property_readonly("duration", [](const NoteView& n) {
            const Song::Access access(*n.song);
            const std::int32_t start = n.tick();
            return n.song->seconds(start + n.object().getDurTick()) - n.song->seconds(start);
        });
}

} // namespace kor::python
