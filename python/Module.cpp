// The Python module korman: songs loaded, read, edited with undo and saved from Python, over the
// library's public interface.
#include "Edit.h"
#include "Failure.h"
#include "Song.h"
#include "Text.h"
#include "Views.h"

#include <korman/IZRKorRoot.h>
#include <korman/IZRNodeList.h>
#include <korman/IZRSequence.h>
#include <korman/IZRTempo.h>
#include <korman/IZRTimeSig.h>
#include <korman/ZRNodeRange.h>

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <optional>
#include <tuple>
#include <vector>

namespace py = pybind11;
using namespace kor::python;

namespace {

// A manager of its own for a question about a file, so that threads asking do not share one.
struct Probe {
    Probe() {
        if (manager.sysInitialize({}) == 0) throw Failure::fromManager(manager);
    }
    CZRKorManagerIF manager;
};

// The name of a file kind, None for a file of no kind the library reads.
py::object formatName(ZRFileFormat format) {
    switch (format) {
    case ZR_FILE_FORMAT_UNKNOWN:
        return py::none();
    case ZR_FILE_FORMAT_SMF0:
    case ZR_FILE_FORMAT_SMF1:
        return py::str("MIDI");
    case ZR_FILE_FORMAT_LEGACY2:
    case ZR_FILE_FORMAT_LEGACY3:
        return py::str("legacy");
    case ZR_FILE_FORMAT_KOR3:
        return py::str("KOR3");
    case ZR_FILE_FORMAT_KOR4:
        return py::str("KOR4");
    case ZR_FILE_FORMAT_MUSICXML:
        return py::str("MusicXML");
    }
    return py::none();
}

// The kind of the file at `path`; korman.Error when it cannot be read.
ZRFileFormat formatOf(CZRKorManagerIF& manager, const std::wstring& path) {
    const ZRFileFormat format = manager.fileGetFileFormat(path.c_str());
    if (format == ZR_FILE_FORMAT_UNKNOWN && manager.sysGetLastError() != 0)
        throw Failure::fromManager(manager);
    return format;
}

py::object fileFormat(const py::object& pathArg) {
    const std::wstring path = toPath(pathArg);
    ZRFileFormat format = ZR_FILE_FORMAT_UNKNOWN;
    {
        const py::gil_scoped_release release;
        Probe probe;
        format = formatOf(probe.manager, path);
    }
    return formatName(format);
}

// The importable sources of a MIDI file or a score, as the library's survey finds them.
py::list sources(const py::object& pathArg) {
    const std::wstring path = toPath(pathArg);
    std::vector<ZRSMFTrackImportDirective> tracks;
    std::vector<ZRMusicXMLPartImportDirective> parts;
    {
        const py::gil_scoped_release release;
        Probe probe;
        CZRKorManagerIF& manager = probe.manager;
        switch (formatOf(manager, path)) {
        case ZR_FILE_FORMAT_SMF0:
        case ZR_FILE_FORMAT_SMF1:
            if (manager.fileGetSMFImportDirective(path.c_str(), 0, tracks) == 0)
                throw Failure::fromManager(manager);
            break;
        case ZR_FILE_FORMAT_MUSICXML:
            if (manager.fileGetMusicXMLImportDirective(path.c_str(), parts) == 0)
                throw Failure::fromManager(manager);
            break;
        case ZR_FILE_FORMAT_LEGACY2:
        case ZR_FILE_FORMAT_LEGACY3:
        case ZR_FILE_FORMAT_KOR3:
        case ZR_FILE_FORMAT_KOR4:
            break; // a song file loads whole: there is nothing to choose
        case ZR_FILE_FORMAT_UNKNOWN:
            // The load's own refusal, which names the path.
            if (manager.fileLoadAny(path.c_str()) == nullptr) throw Failure::fromManager(manager);
            break;
        }
    }
    py::list list;
    for (const ZRSMFTrackImportDirective& track : tracks)
        list.append(py::dict(
            py::arg("index") = track.sourceIndex, py::arg("name") = toStr(track.name),
            py::arg("notes") = track.noteCount, py::arg("lyrics") = py::none(),
            py::arg("verses") = py::none(), py::arg("imported") = track.importSwitch != 0));
    for (const ZRMusicXMLPartImportDirective& part : parts)
        list.append(py::dict(py::arg("index") = part.sourceIndex,
                             py::arg("name") = toStr(part.name), py::arg("notes") = part.noteCount,
                             py::arg("lyrics") = part.lyricCount, py::arg("verses") = part.verses,
                             py::arg("imported") = part.importSwitch != 0));
    return list;
}

// The lists of the master track, each element a `T`.
template <class T, class Row>
std::vector<Row> masterRows(const std::shared_ptr<Song>& song,
                            IZRNodeList* (IZRMasterTrack::*list)() const, Row (*row)(const T&)) {
    const Song::Access access(*song);
    std::vector<Row> rows;
    for (const T* element : kor::elements<T>((song->master().*list)()))
        rows.push_back(row(*element));
    return rows;
}

std::tuple<int, double> tempoRow(const IZRTempo& tempo) {
    return {tempo.getPosTick(), tempo.getBPM() / 100.0};
}

std::tuple<int, int, int> timeSigRow(const IZRTimeSig& timeSig) {
    return {timeSig.getPosMes(), timeSig.getNumerator(), timeSig.getDenominator()};
}

// A text of the manager's that is null without a song: that failure, else the text.
py::str managerText(const std::shared_ptr<Song>& song, const wchar_t* text) {
    if (text == nullptr) throw Failure::fromManager(song->manager());
    return toStr(text);
}

} // namespace

PYBIND11_MODULE(korman, module) {
    module.doc() = "Songs of the korman library: load, read, edit with undo, save.";

    static py::exception<Failure> error(module, "Error");
    error.doc() = "A failure of the library: .code is its error code, .message its message.";
    py::register_exception_translator([](std::exception_ptr thrown) {
        try {
            if (thrown) std::rethrow_exception(thrown);
        } catch (const Failure& failure) {
            const py::str message = toStr(failure.message);
            const py::object raised = py::handle(error)(message);
            raised.attr("code") = failure.code;
            raised.attr("message") = message;
            PyErr_SetObject(error.ptr(), raised.ptr());
        }
    });

    bindViews(module);
    bindEdit(module);

    module.def("file_format", &fileFormat, py::arg("path"),
               "The kind of song file at path: 'KOR3', 'KOR4', 'legacy', 'MIDI', 'MusicXML', or "
               "None for a file of no kind korman reads.");
    module.def("sources", &sources, py::arg("path"),
               "The MIDI tracks or score parts and voices a load can import, as dicts with "
               "index, name, notes, lyrics, verses (a score source's lyric lines: the verses "
               "load accepts for it; None for MIDI) and imported (the default choice); "
               "empty for a song file, which loads whole.");

    py::class_<Song, std::shared_ptr<Song>>(module, "Song")
        .def_static(
            "new",
            [](const py::object& name, int premeasure) {
                return Song::create(toWide(name), premeasure);
            },
            py::arg("name"), py::arg("premeasure") = 1,
            "A new song: 120 BPM in 4/4, one ZR track with one musical part of four measures "
            "after the pre-measures.")
        .def_static(
            "load",
            [](const py::object& path, std::optional<std::vector<int>> sources,
               std::optional<int> verse, int premeasure, std::optional<unsigned int> codePage) {
                return Song::load(toPath(path), {std::move(sources), verse, premeasure, codePage});
            },
            py::arg("path"), py::kw_only(), py::arg("sources") = py::none(),
            py::arg("verse") = py::none(), py::arg("premeasure") = 1,
            py::arg("codepage") = py::none(),
            "The song of a KOR3, KOR4, legacy, MIDI or MusicXML file. sources (indices of "
            "korman.sources) and verse choose what a MIDI file or a score imports, codepage "
            "the code page of a MIDI or legacy file's texts.")
        .def_property_readonly("name",
                               [](const std::shared_ptr<Song>& song) {
                                   const Song::Access access(*song);
                                   return toStr(song->master().getSeqName());
                               })
        .def_property_readonly("premeasure",
                               [](const std::shared_ptr<Song>& song) {
                                   const Song::Access access(*song);
                                   return song->master().getPreMeasure();
                               })
        .def_property_readonly(
            "path",
            [](const std::shared_ptr<Song>& song) -> py::object {
                const Song::Access access(*song);
                const py::str path = managerText(song, song->manager().fileGetCurrentFilePath());
                return py::len(path) != 0 ? py::object(path) : py::none();
            },
            "The file the song was loaded from or saved to; None for a new song.")
        .def_property_readonly("modified",
                               [](const std::shared_ptr<Song>& song) {
                                   const Song::Access access(*song);
                                   return song->manager().fileIsModified() != 0;
                               })
        .def_property_readonly(
            "tempos",
            [](const std::shared_ptr<Song>& song) {
                return masterRows<IZRTempo>(song, &IZRMasterTrack::getTempoList, &tempoRow);
            },
            "[(tick, bpm)] in tick order.")
        .def_property_readonly(
            "time_signatures",
            [](const std::shared_ptr<Song>& song) {
                return masterRows<IZRTimeSig>(song, &IZRMasterTrack::getTimeSigList, &timeSigRow);
            },
            "[(measure, numerator, denominator)], measures counted from 0 with the "
            "pre-measures.")
        .def_property_readonly("tracks",
                               [](const std::shared_ptr<Song>& song) {
                                   const Song::Access access(*song);
                                   return tracksOf(song);
                               })
        .def(
            "tick_to_seconds",
            [](const std::shared_ptr<Song>& song, std::int32_t tick) {
                const Song::Access access(*song);
                return song->seconds(tick);
            },
            py::arg("tick"))
        .def(
            "seconds_to_tick",
            [](const std::shared_ptr<Song>& song, double seconds) {
                const Song::Access access(*song);
                return song->tick(seconds);
            },
            py::arg("seconds"))
        .def(
            "edit",
            [](const std::shared_ptr<Song>& song, const py::object& label) {
                return std::make_unique<Edit>(song, label.is_none() ? L"" : toWide(label));
            },
            py::arg("label") = py::none(),
            "A group of edits committed as one undo step named label, for a with block.")
        .def("undo", &Song::undo, "Undoes the last commit; False when there is none.")
        .def("redo", &Song::redo, "Redoes the commit undone last; False when there is none.")
        .def_property_readonly("can_undo",
                               [](const std::shared_ptr<Song>& song) {
                                   const Song::Access access(*song);
                                   return song->manager().editCanUndo() != 0;
                               })
        .def_property_readonly("can_redo",
                               [](const std::shared_ptr<Song>& song) {
                                   const Song::Access access(*song);
                                   return song->manager().editCanRedo() != 0;
                               })
        .def_property_readonly("undo_text",
                               [](const std::shared_ptr<Song>& song) {
                                   const Song::Access access(*song);
                                   return managerText(song, song->manager().editGetUndoText());
                               })
        .def_property_readonly("redo_text",
                               [](const std::shared_ptr<Song>& song) {
                                   const Song::Access access(*song);
                                   return managerText(song, song->manager().editGetRedoText());
                               })
        .def(
            "save", [](Song& song, const py::object& path) { song.save(toPath(path)); },
            py::arg("path"), "Saves the song as a KOR3 file with its WAV parts folder.")
        .def(
            "export_midi",
            [](Song& song, const py::object& path, bool keepPremeasure) {
                song.exportMidi(toPath(path), keepPremeasure);
            },
            py::arg("path"), py::arg("keep_premeasure") = false,
            "Writes the song as a format 1 MIDI file, from where the song proper begins unless "
            "keep_premeasure.");
}
