#include "interchange/SmfExport.h"

#include "legacy/MidiEvent.h"
#include "model/MasterTrack.h"
#include "model/MusicalControl.h"
#include "model/MusicalNote.h"
#include "model/MusicalPart.h"
#include "model/Sequence.h"
#include "model/Tempo.h"
#include "model/TimeSig.h"
#include "model/ZRTrack.h"
#include "platform/AtomicFile.h"
#include "platform/CodePage.h"

#include <korman/ErrorCodes.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <new>
#include <optional>
#include <vector>

namespace kor {

namespace {

constexpr std::uint16_t kDivision = 480;
// The largest delta time a variable-length quantity of four bytes holds.
constexpr std::int64_t kMaxTick = 0x0FFFFFFF;
using namespace midi;
constexpr std::uint8_t kControlChange = 0xB0;
constexpr std::uint8_t kPitchBendChange = 0xE0;

// What happens first among events at one tick: notes end before anything else, so that a note
// may start where the last one ended; controls are in effect before the notes they shape; each
// lyric stands right before its note-on, as a reader gives a lyric to the next note to start.
enum class Order : std::uint8_t { NoteOff, Control, Note };

// One event of a track. Channel messages carry their bytes; meta events name their kind and the
// index of their text (or data) in the track's texts.
struct Event {
    std::int64_t tick;
    Order order;
    std::uint8_t status; // kMeta for a meta event
    std::uint8_t data1;  // the meta kind for a meta event
    std::uint8_t data2;
    std::uint32_t text = 0;
};

template <class T, std::size_t N> constexpr std::array<T, N> filledWith(T value) {
    std::array<T, N> out;
    out.fill(value);
    return out;
}

class TrackBuilder {
public:
    void meta(std::int64_t tick, Order order, std::uint8_t kind, std::string data) {
        texts_.push_back(std::move(data));
        events_.push_back(
            {tick, order, kMeta, kind, 0, static_cast<std::uint32_t>(texts_.size() - 1)});
    }
    void channel(std::int64_t tick, Order order, std::uint8_t status, std::uint8_t data1,
                 std::uint8_t data2) {
        events_.push_back({tick, order, status, data1, data2});
    }

    // A note from `on` to `off` (at least 1 tick later) on `channel`. A key sounds once on a
    // channel, so a note that starts while an earlier one of its key still sounds there goes to
    // the next channel where the key is silent (the MIDI import reads a track's channels into one
    // part again); with all sixteen taken, it ends the one on `channel` as a synthesizer would.
    // Either change of a length is counted.
    void note(std::int64_t on, std::int64_t off, std::uint8_t channel, std::uint8_t key,
              std::uint8_t velocity) {
        if (off <= on) {
            off = on + 1;
            ++altered_;
        }
        const auto silent = [&](std::uint8_t at) {
            const std::size_t sounding = noteOffs_[at][key];
            return sounding == kNone || events_[sounding].tick <= on;
        };
        std::uint8_t at = channel;
        for (int step = 0; step < 16 && !silent(at); ++step)
            at = static_cast<std::uint8_t>((at + 1) % 16);
        if (!silent(at)) {
            at = channel;
            events_[noteOffs_[at][key]].tick = on;
            ++altered_;
        }
        events_.push_back(
            {on, Order::Note, static_cast<std::uint8_t>(kNoteOn | at), key, velocity});
        noteOffs_[at][key] = events_.size();
        events_.push_back({off, Order::NoteOff, static_cast<std::uint8_t>(kNoteOff | at), key, 64});
    }

    // Appends the track chunk to `out`; false when an event lies beyond the latest tick.
    bool writeTo(std::string& out) {
        const auto earlier = [](const Event& a, const Event& b) {
            return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
        };
        // Events arrive in order but for note-offs and parts that overlap.
        if (!std::is_sorted(events_.begin(), events_.end(), earlier))
            std::stable_sort(events_.begin(), events_.end(), earlier);
        if (!events_.empty() && events_.back().tick > kMaxTick) return false;
        const std::size_t head = out.size();
        out.append("MTrk\0\0\0\0", 8);
        std::int64_t last = 0;
        for (const Event& event : events_) {
            putVarLength(out, static_cast<std::uint32_t>(event.tick - last));
            last = event.tick;
            out.push_back(static_cast<char>(event.status));
            out.push_back(static_cast<char>(event.data1));
            if (event.status == kMeta) {
                const std::string& data = texts_[event.text];
                putVarLength(out, static_cast<std::uint32_t>(data.size()));
                out += data;
            } else if ((event.status & 0xF0) != 0xC0 && (event.status & 0xF0) != 0xD0) {
                out.push_back(static_cast<char>(event.data2));
            }
        }
        // End of track, right after the last event.
        out.append({'\0', '\xFF', static_cast<char>(kMetaEndOfTrack), '\0'});
        const auto length = static_cast<std::uint32_t>(out.size() - head - 8);
        for (int byte = 0; byte < 4; ++byte)
            out[head + 4 + static_cast<std::size_t>(byte)] =
                static_cast<char>(length >> (24 - 8 * byte));
        return true;
    }

    void reserve(std::size_t events) { events_.reserve(events); }
    // Notes written at another length than they were given.
    std::size_t altered() const { return altered_; }

private:
    static void putVarLength(std::string& out, std::uint32_t value) {
        char bytes[4];
        int count = 0;
        do {
            bytes[count++] = static_cast<char>(value & 0x7F);
            value >>= 7;
        } while (value != 0);
        while (count > 1)
            out.push_back(static_cast<char>(bytes[--count] | 0x80));
        out.push_back(bytes[0]);
    }

    static constexpr std::size_t kNone = SIZE_MAX;

    std::vector<Event> events_;
    std::vector<std::string> texts_;
    // The last note-off of each key on each channel.
    std::array<std::array<std::size_t, 128>, 16> noteOffs_ =
        filledWith<std::array<std::size_t, 128>, 16>(filledWith<std::size_t, 128>(kNone));
    std::size_t altered_ = 0;
};

// `text` in `codePage`, a character that has no form there written as '?'.
std::string encoded(const std::wstring& text, unsigned codePage) {
    if (std::optional<std::string> whole = platform::wideToMultiByte(text, codePage))
        return std::move(*whole);
    std::string out;
    for (const wchar_t c : text)
        out += platform::wideToMultiByte(std::wstring_view(&c, 1), codePage).value_or("?");
    return out;
}

std::uint8_t clampByte(std::int32_t value, std::int32_t max) {
    return static_cast<std::uint8_t>(std::clamp(value, 0, max));
}

// Walks the elements of `list` as objects of class `T`.
template <class T, class Visit> void forEach(const CZRNodeList* list, Visit&& visit) {
    if (list == nullptr) return;
    for (const IZRMutableKorObject* element : list->elements())
        if (const auto* object = objCast<T>(element)) visit(*object);
}

// Builds a song's tracks, with the pre-measure area dropped from the front unless it is kept.
class SmfWriter {
public:
    SmfWriter(const CZRMasterTrack& master, const ZRSMFExportOptions& options)
        : master_(master)
        , codePage_(options.codePage)
        , shift_(options.keepPreMeasure != 0 ? 0 : master.getPreMeasureTick()) {}

    // The conductor track: events of the dropped area give the values in effect at tick 0.
    void conductor(TrackBuilder& track) const {
        track.meta(0, Order::Control, kMetaTrackName, encoded(master_.getSeqName(), codePage_));
        forEach<CZRTimeSig>(master_.timeSigList(), [&](const CZRTimeSig& signature) {
            const ZRTimeSigValues& values = signature.values();
            const auto denominator = static_cast<unsigned>(std::max(values.denominator, 1));
            track.meta(dropped(master_.measureToTick(values.posMes)), Order::Control,
                       kMetaTimeSignature,
                       {static_cast<char>(clampByte(values.numerator, 255)),
                        static_cast<char>(std::bit_width(denominator) - 1), 24, 8});
        });
        forEach<CZRTempo>(master_.tempoList(), [&](const CZRTempo& tempo) {
            const ZRTempoValues& values = tempo.values();
            const auto micros =
                static_cast<std::uint32_t>(std::lround(6000000000.0 / std::max(values.bpm, 1)));
            track.meta(dropped(values.posTick), Order::Control, kMetaTempo,
                       {static_cast<char>(micros >> 16), static_cast<char>(micros >> 8),
                        static_cast<char>(micros)});
        });
    }

    // A singing track; false when one of its notes starts in the dropped area.
    bool singer(const CZRZRTrack& source, std::uint8_t channel, TrackBuilder& track) const {
        track.meta(0, Order::Control, kMetaTrackName, encoded(source.getName(), codePage_));
        bool fits = true;
        forEach<CZRMusicalPart>(source.partList(), [&](const CZRMusicalPart& part) {
            const std::int64_t start = std::int64_t{part.getPosTick()} - shift_;
            controls(part, start, channel, track);
            forEach<CZRMusicalNote>(part.noteList(), [&](const CZRMusicalNote& note) {
                const ZRMusicalNoteValues& values = note.values();
                const std::int64_t on = start + values.posTick;
                if (on < 0) fits = false;
                const std::uint8_t key = clampByte(values.noteNum, 127);
                if (!values.lyric.empty())
                    track.meta(on, Order::Note, kMetaLyric, encoded(values.lyric, codePage_));
                track.note(on, on + values.durTick, channel, key,
                           clampByte(std::max(values.velocity, 1), 127));
            });
        });
        return fits;
    }

private:
    // The file's tick of the song's tick `tick`; what lies in the dropped area moves to 0.
    std::int64_t dropped(std::int64_t tick) const {
        return std::max<std::int64_t>(tick - shift_, 0);
    }

    // Dynamics, pitch bend and bend sensitivity; a control of the dropped area moves to tick 0,
    // where the last one of them stays in effect.
    void controls(const CZRMusicalPart& part, std::int64_t start, std::uint8_t channel,
                  TrackBuilder& track) const {
        const std::uint8_t controller = kControlChange | channel;
        const auto each = [&](std::int32_t type, auto&& write) {
            forEach<CZRMusicalControl>(part.controlList(type), [&](const CZRMusicalControl& c) {
                write(std::max<std::int64_t>(start + c.values().posTick, 0), c.values().value);
            });
        };
        each(kControlDynamics, [&](std::int64_t tick, std::int32_t value) {
            track.channel(tick, Order::Control, controller, kControllerExpression,
                          clampByte(value, 127));
        });
        each(kControlBendSensitivity, [&](std::int64_t tick, std::int32_t value) {
            // Registered parameter 0/0 selected, then its value.
            track.channel(tick, Order::Control, controller, kControllerRpnMsb, 0);
            track.channel(tick, Order::Control, controller, kControllerRpnLsb, 0);
            track.channel(tick, Order::Control, controller, kControllerDataEntry,
                          clampByte(value, kMaxBendSensitivity));
        });
        each(kControlPitchBend, [&](std::int64_t tick, std::int32_t value) {
            const auto bend = static_cast<std::uint16_t>(
                std::clamp(value + kPitchCentre, 0, 2 * kPitchCentre - 1));
            track.channel(tick, Order::Control, kPitchBendChange | channel, bend & 0x7F, bend >> 7);
        });
    }

    const CZRMasterTrack& master_;
    unsigned codePage_;
    std::int64_t shift_;
};

} // namespace

std::uint32_t buildSmf(const CZRSequence& song, const ZRSMFExportOptions& options,
                       std::string& bytes, std::wstring& reason) {
    bytes.clear();
    reason.clear();
    const CZRMasterTrack* master = song.masterTrack();
    if (master == nullptr) {
        reason = L"The song has no master track.";
        return ZR_E_INVALID_PARAMETER;
    }
    if (!platform::wideToMultiByte(L"a", options.codePage)) {
        reason = L"Code page " + std::to_wstring(options.codePage) + L" is not known.";
        return ZR_E_INVALID_PARAMETER;
    }
    const SmfWriter writer(*master, options);
    const CZRNodeList* tracks = song.zrTrackList();
    const std::uint32_t trackCount = 1 + (tracks != nullptr ? tracks->getCount() : 0);

    bytes.append("MThd\0\0\0\x06\0\x01", 10);
    bytes.push_back(static_cast<char>(trackCount >> 8));
    bytes.push_back(static_cast<char>(trackCount));
    bytes.push_back(static_cast<char>(kDivision >> 8));
    bytes.push_back(static_cast<char>(kDivision & 0xFF));

    const auto refuse = [&](std::wstring why) {
        bytes.clear();
        reason = std::move(why);
        return ZR_E_INVALID_PARAMETER;
    };
    constexpr const wchar_t* kTooLate = L"The song runs later than a MIDI file can place.";
    TrackBuilder conductor;
    writer.conductor(conductor);
    if (!conductor.writeTo(bytes)) return refuse(kTooLate);
    std::uint8_t channel = 0;
    std::wstring failure;
    std::size_t altered = 0;
    forEach<CZRZRTrack>(tracks, [&](const CZRZRTrack& source) {
        if (!failure.empty()) return;
        TrackBuilder track;
        if (!writer.singer(source, channel, track))
            failure = L"A note of ZR track \"" + source.getName() +
                      L"\" starts in the pre-measures, which the file leaves out.";
        else if (!track.writeTo(bytes))
            failure = kTooLate;
        altered += track.altered();
        channel = static_cast<std::uint8_t>((channel + 1) % 16);
    });
    if (!failure.empty()) return refuse(std::move(failure));
    if (altered > 0)
        reason = std::to_wstring(altered) + (altered == 1 ? L" note was" : L" notes were") +
                 L" written at another length: a MIDI file sounds a key at most 16 times at once "
                 L"on a track, and gives a note at least 1 tick.";
    return 0;
}

std::uint32_t exportSmf(const CZRSequence& song, const ZRSMFExportOptions& options,
                        const std::wstring& path, std::wstring& reason) {
    using platform::AtomicWriteResult;
    reason.clear();
    if (path.empty()) {
        reason = L"No path was given.";
        return ZR_E_INVALID_FILE_NAME;
    }
    std::string bytes;
    if (const std::uint32_t code = buildSmf(song, options, bytes, reason); code != 0) return code;
    platform::AtomicFile file;
    if (file.open(path) != AtomicWriteResult::Done) {
        reason = platform::describe(file.failure());
        return ZR_E_CANNOT_OPEN_FILE;
    }
    if (!file.write(bytes) || file.commit() != AtomicWriteResult::Done) {
        reason = platform::describe(file.failure());
        return ZR_E_CANNOT_SAVE_FILE;
    }
    return 0;
}

} // namespace kor
