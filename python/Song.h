// korman.Song: one song document with its own manager, read and changed from Python.
#pragma once

#include "Failure.h"

#include <korman/CZRKorManagerIF.h>
#include <korman/ErrorCodes.h>
#include <korman/IZRKorObject.h>
#include <korman/IZRMasterTrack.h>

#include <pybind11/pybind11.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace kor::python {

/// How Song::load reads a MIDI file or a score; unset fields keep what the library's survey
/// chose (every source with notes, each singing its first verse, the locale's code page).
struct LoadOptions {
    /// The sources (MIDI tracks, score parts or voices, by their survey index) to import.
    std::optional<std::vector<int>> sources;
    /// The verse every imported score source sings, from 1.
    std::optional<int> verse;
    /// Measures before the song proper, 1 to 8.
    int premeasure = 1;
    /// The code page of the texts of a MIDI or legacy file.
    std::optional<unsigned int> codePage;
};

/// A song: the manager that holds it, shared by every view and edit made of it, so that the
/// song lives as long as any of them. One song is read and changed by one thread at a time: its
/// calls take the song's lock, waiting for it with the interpreter lock released, and loads,
/// saves and exports run with the interpreter lock released, so two songs in two threads go on
/// side by side.
class Song {
public:
    /// Holds the song's lock for one call. A thread that finds it taken waits without holding
    /// the interpreter lock, so that the holder, which may have released the interpreter lock,
    /// can take it back.
    class Access {
    public:
        explicit Access(const Song& song);

    private:
        std::unique_lock<std::recursive_mutex> lock_;
    };

    /// A new song named `name` with `premeasure` measures in front, 120 BPM in 4/4, and one
    /// ZR track holding one musical part of four measures after the pre-measures.
    static std::shared_ptr<Song> create(const std::wstring& name, int premeasure);
    /// The song of the file at `path`, of any kind the library reads. Releases the interpreter
    /// lock while it reads.
    static std::shared_ptr<Song> load(const std::wstring& path, const LoadOptions& options);

    Song() = default;
    Song(const Song&) = delete;
    Song& operator=(const Song&) = delete;

    /// The manager (borrowed); take Access around every use.
    CZRKorManagerIF& manager() { return manager_; }
    const CZRKorManagerIF& manager() const { return manager_; }
    /// The master track of the song (borrowed).
    const IZRMasterTrack& master();
    /// The object `id` of the song as a `T` (borrowed). korman.Error when the song holds no such
    /// object (an edit deleted it): the library's ZR_E_EDIT_TARGET_NOT_FOUND naming the ID; or
    /// when it is no `T`.
    template <class T> T& object(std::uint32_t id) const {
        IZRKorObject* found = manager_.korGetKorObject(id);
        if (found == nullptr) throw Failure::fromManager(manager_);
        T* typed = dynamic_cast<T*>(found);
        if (typed == nullptr)
            throw Failure::fromTable(ZR_E_EDIT_TARGET_WRONG_TYPE,
                                     L"Object " + std::to_wstring(id) + L" is of another kind.");
        return *typed;
    }
    /// The time at the absolute `tick` in seconds.
    double seconds(std::int32_t tick);
    /// The absolute tick at `seconds`.
    std::int32_t tick(double seconds);
    /// Saves the song as a KOR3 file with its WAV parts folder.
    void save(const std::wstring& path);
    /// Writes the song as a MIDI file.
    void exportMidi(const std::wstring& path, bool keepPremeasure);
    /// Undoes the last commit; false when there is none.
    bool undo();
    /// Redoes the commit after the present state; false when there is none.
    bool redo();

private:
    /// Initializes the manager (the schemas and voice database beside the library).
    void initialize();
    /// Reads the MIDI file or score at `path` with the sources and verse of `options`.
    void import(const std::wstring& path, ZRFileFormat format, const LoadOptions& options);

    CZRKorManagerIF manager_;
    mutable std::recursive_mutex mutex_;
};

} // namespace kor::python
