#include "Song.h"

#include <korman/IZRKorRoot.h>

#include <algorithm>

namespace py = pybind11;

namespace kor::python {

namespace {

// Switches on the sources of a survey whose index `chosen` names, and off the others; every
// index must name one of them.
template <class Directive>
void choose(std::vector<Directive>& directives, const std::vector<int>& chosen) {
    for (const int index : chosen)
        if (index < 0 || static_cast<std::size_t>(index) >= directives.size())
            throw Failure::fromTable(ZR_E_INVALID_PARAMETER,
                                     L"The file offers no source " + std::to_wstring(index) +
                                         L"; its sources are 0 to " +
                                         std::to_wstring(directives.size()) + L" - 1.");
    for (Directive& directive : directives)
        directive.importSwitch =
            std::find(chosen.begin(), chosen.end(), directive.sourceIndex) != chosen.end();
}

} // namespace

Song::Access::Access(const Song& song)
    : lock_(song.mutex_, std::try_to_lock) {
    if (!lock_.owns_lock()) {
        const py::gil_scoped_release release;
        lock_.lock();
    }
}

void Song::initialize() {
    // An empty policy finds the schemas beside libkorman.so, as for any host.
    if (manager_.sysInitialize({}) == 0) throw Failure::fromManager(manager_);
}

std::shared_ptr<Song> Song::create(const std::wstring& name, int premeasure) {
    auto song = std::make_shared<Song>();
    const Access access(*song);
    const py::gil_scoped_release release;
    song->initialize();
    if (song->manager_.korCreateNewSequenceWithMusicalPart(name.c_str(), L"", premeasure, L"Part 1",
                                                           L"", 4 * 1920) == nullptr)
        throw Failure::fromManager(song->manager_);
    return song;
}

std::shared_ptr<Song> Song::load(const std::wstring& path, const LoadOptions& options) {
    auto song = std::make_shared<Song>();
    const Access access(*song);
    const py::gil_scoped_release release;
    song->initialize();
    CZRKorManagerIF& manager = song->manager_;
    if (!options.sources && !options.verse && !options.codePage) {
        if (manager.fileLoadAny(path.c_str(), options.premeasure) == nullptr)
            throw Failure::fromManager(manager);
        return song;
    }
    const ZRFileFormat format = manager.fileGetFileFormat(path.c_str());
    switch (format) {
    case ZR_FILE_FORMAT_SMF0:
    case ZR_FILE_FORMAT_SMF1:
    case ZR_FILE_FORMAT_MUSICXML:
        song->import(path, format, options);
        return song;
    case ZR_FILE_FORMAT_LEGACY2:
    case ZR_FILE_FORMAT_LEGACY3:
        if (options.sources || options.verse)
            throw Failure::fromTable(ZR_E_INVALID_PARAMETER,
                                     L"A legacy song file has no sources or verses to choose.");
        if (manager.fileLoadLegacyKorFile(path.c_str(), options.codePage.value_or(0),
                                          options.premeasure) == nullptr)
            throw Failure::fromManager(manager);
        return song;
    case ZR_FILE_FORMAT_KOR3:
    case ZR_FILE_FORMAT_KOR4:
        if (options.sources || options.verse)
            throw Failure::fromTable(ZR_E_INVALID_PARAMETER,
                                     L"A KOR song file has no sources or verses to choose.");
        break;
    case ZR_FILE_FORMAT_UNKNOWN:
        if (manager.sysGetLastError() != 0) throw Failure::fromManager(manager);
        break;
    }
    // A KOR song reads alike with any options; a file of no known kind gets the load's own
    // message, which names the path.
    if (manager.fileLoadAny(path.c_str(), options.premeasure) == nullptr)
        throw Failure::fromManager(manager);
    return song;
}

void Song::import(const std::wstring& path, ZRFileFormat format, const LoadOptions& options) {
    if (format == ZR_FILE_FORMAT_MUSICXML) {
        std::vector<ZRMusicXMLPartImportDirective> directives;
        if (manager_.fileGetMusicXMLImportDirective(path.c_str(), directives) == 0)
            throw Failure::fromManager(manager_);
        if (options.sources) choose(directives, *options.sources);
        if (options.verse)
            for (ZRMusicXMLPartImportDirective& directive : directives)
                directive.verse = *options.verse;
        if (manager_.fileLoadMusicXML(path.c_str(), options.premeasure, directives) == nullptr)
            throw Failure::fromManager(manager_);
        return;
    }
    if (options.verse)
        throw Failure::fromTable(ZR_E_INVALID_PARAMETER,
                                 L"A MIDI file has no verses to choose; a score has.");
    std::vector<ZRSMFTrackImportDirective> directives;
    if (manager_.fileGetSMFImportDirective(path.c_str(), options.codePage.value_or(0), 0,
                                           directives) == 0)
        throw Failure::fromManager(manager_);
    if (options.sources) choose(directives, *options.sources);
    if (manager_.fileLoadSMF(path.c_str(), options.premeasure, 0, directives) == nullptr)
        throw Failure::fromManager(manager_);
}

const IZRMasterTrack& Song::master() {
    const IZRMasterTrack* master = manager_.korGetCurrentMasterTrack();
    if (master == nullptr) throw Failure::fromManager(manager_);
    return *master;
}

double Song::seconds(std::int32_t tick) {
    double seconds = 0;
    if (const std::uint32_t code = master().tickToSeconds(tick, seconds))
        throw Failure::fromTable(code, L"No time for tick " + std::to_wstring(tick) + L".");
    return seconds;
}

std::int32_t Song::tick(double seconds) {
    std::int32_t tick = 0;
    if (const std::uint32_t code = master().secondsToTick(seconds, tick))
        throw Failure::fromTable(code, L"No tick for " + std::to_wstring(seconds) + L" s.");
    return tick;
}

void Song::save(const std::wstring& path) {
    const Access access(*this);
    const py::gil_scoped_release release;
    if (manager_.fileSaveKorFile(path.c_str()) == 0) throw Failure::fromManager(manager_);
}

void Song::exportMidi(const std::wstring& path, bool keepPremeasure) {
    const Access access(*this);
    const py::gil_scoped_release release;
    ZRSMFExportOptions options;
    options.keepPreMeasure = keepPremeasure ? 1 : 0;
    if (manager_.fileExportSMF(path.c_str(), options) == 0) throw Failure::fromManager(manager_);
}

bool Song::undo() {
    const Access access(*this);
    if (manager_.editCanUndo() == 0) return false;
    if (manager_.editUndo() == 0) throw Failure::fromManager(manager_);
    return true;
}

bool Song::redo() {
    const Access access(*this);
    if (manager_.editCanRedo() == 0) return false;
    if (manager_.editRedo() == 0) throw Failure::fromManager(manager_);
    return true;
}

} // namespace kor::python
