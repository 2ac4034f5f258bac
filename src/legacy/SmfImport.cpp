#include "legacy/SmfImport.h"

#include "legacy/ConductorTrack.h"
#include "legacy/GlobalBuffer.h"
#include "legacy/LegacyConverter.h"
#include "legacy/LegacyText.h"
#include "legacy/LegacyTrack.h"
#include "legacy/MidiSequence.h"
#include "legacy/PreMeasureShift.h"
#include "legacy/TypedFile.h"
#include "model/KorDocument.h"
#include "model/KorRoot.h"
#include "model/MasterTrack.h"
#include "model/MusicalControl.h"
#include "model/MusicalNote.h"
#include "model/MusicalPart.h"
#include "model/MusicalSinger.h"
#include "model/Sequence.h"
#include "model/VVoice.h"
#include "model/ZRTrack.h"
#include "platform/CodePage.h"
#include "platform/Path.h"
#include "platform/XmlChars.h"

#include <korman/ErrorCodes.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <map>
#include <new>
#include <optional>

namespace {

constexpr unsigned kChannels = 16;
constexpr std::size_t kMaxNameBytes = 32;
constexpr std::uint8_t kRpnNull = 127;
using namespace kor::midi;
using kor::kControlBendSensitivity;
using kor::kControlDynamics;
using kor::kControlPitchBend;

bool isNoteOn(const CxMidiEvent& event) {
    return event.isChannelMessage() && event.kind() == 0x9;
}

// The file image and the sequence parsed from it, kept together since events point into the image.
struct ParsedFile {
    CxGlobalBuffer image;
    std::unique_ptr<CxMidiSequence> midi;

    bool read(const std::wstring& path) {
        if (image.load(path)) midi = CxMidiSequence::parse(image.data(), image.size()).sequence;
        return midi != nullptr;
    }
};

// Whether the file at `path` starts as a MIDI file, so that only such a file is read whole.
bool startsAsMidi(const std::wstring& path) {
    const std::optional<std::filesystem::path> file = kor::platform::toPath(path);
    if (!file) return false;
    std::array<char, CxMidiSequence::kSignatureBytes> head{};
    std::ifstream in(*file, std::ios::binary);
    in.read(head.data(), head.size());
    return CxMidiSequence::hasSignature(reinterpret_cast<const std::uint8_t*>(head.data()),
                                        static_cast<std::size_t>(in.gcount()));
}

// A single-track file split by channel offers its channels; any other file its tracks.
bool splitsByChannel(const CxMidiSequence& midi, bool channelSplit) {
    return channelSplit && midi.header().format == 0 && midi.trackCount() >= 1;
}

std::size_t sourceCount(const CxMidiSequence& midi, bool split) {
    return split ? kChannels : std::min(midi.trackCount(), CxSmfImporter::kMaxSources);
}

// Walks the events of one source: a whole track, or one channel of track 0, where events that
// belong to no channel (meta and system-exclusive events) pass for every channel. True when the
// source read to its clean end.
template <class Visit>
bool walkSource(CxMidiSequence& midi, bool split, std::size_t source, Visit&& visit) {
    CxMidiTrack* track = midi.track(split ? 0 : source);
    if (track == nullptr) return false;
    for (unsigned channel = 0; channel < kChannels; ++channel)
        midi.setChannelEnabled(channel, !split || channel == source);
    track->rewind();
    CxMidiEvent event;
    while (track->next(event))
        visit(event);
    for (unsigned channel = 0; channel < kChannels; ++channel)
        midi.setChannelEnabled(channel, true);
    return track->status() == CxMidiStatus::EndOfTrack;
}

// The text of a meta event, at most `maxBytes` of it, converted from `codePage` and trimmed, in
// the form a saved song gives it back. A cut may split a character: its leading bytes are given
// up rather than the whole text. `lost`, when given, tells whether the code page failed the
// text: no part of it converts, or its own last character (not one split by the cut) had to go.
std::wstring textOf(const CxMidiEvent& event, std::size_t maxBytes, unsigned codePage,
                    bool* lost = nullptr) {
    const bool cut = event.length > maxBytes;
    const std::string_view bytes(reinterpret_cast<const char*>(event.data),
                                 std::min<std::size_t>(event.length, maxBytes));
    if (lost != nullptr) *lost = true;
    for (std::size_t drop = 0; drop < 4 && drop <= bytes.size(); ++drop) {
        const auto text =
            kor::platform::multiByteToWide(bytes.substr(0, bytes.size() - drop), codePage);
        if (!text) continue;
        if (lost != nullptr) *lost = drop > 0 && !cut;
        const auto isBlank = [](wchar_t c) { return c <= L' '; };
        const auto first = std::find_if_not(text->begin(), text->end(), isBlank);
        const auto last = std::find_if_not(text->rbegin(), text->rend(), isBlank).base();
        return first < last ? kor::platform::storedText(std::wstring(first, last)) : std::wstring();
    }
    return {};
}

// Karaoke files put a '\' before the first syllable of a paragraph and a '/' before the first
// of a line; the note sings the syllable alone, and a mark standing alone leaves no lyric.
std::wstring withoutKaraokeMark(std::wstring text) {
    if (!text.empty() && (text.front() == L'\\' || text.front() == L'/')) text.erase(0, 1);
    return text;
}

using ImportedNote = kor::SourceNote;

struct ControlPoint {
    std::int32_t tick;
    std::int32_t value;
};

// Turns the events of one source into notes and control curves at 480 ticks per quarter.
//
// Every note-on the survey counted becomes a note, so the host's note counts hold; notes of a
// chord all stay, for the user to thin out. A note-on for a key that still sounds on its channel
// ends the sounding note there, as a synthesizer retriggers it; a note-off ends the note of its
// channel and key, and one for a key that is not sounding is ignored. A note lasts at least one
// tick; a note still sounding at the end of the source ends there. A lyric event gives its text to
// the first note starting at its own tick that has none yet, else to the next note to start.
// Pitch bend becomes PIT, the bend sensitivity set through registered parameter 0/0 becomes PBS,
// and expression (controller 11) becomes DYN; other controllers carry nothing a singer can use.
//
// Nothing can be placed beyond the latest tick of an imported song: a note that starts or still
// sounds there makes the source unfit (fits() is false), as no part can hold it; any other event
// there would fall after the part and is left out.
class SourceReader {
public:
    SourceReader(std::uint16_t division, unsigned codePage)
        : division_(division)
        , codePage_(codePage) {
        rpnMsb_.fill(kRpnNull);
        rpnLsb_.fill(kRpnNull);
    }

    void take(const CxMidiEvent& event) {
        const std::optional<std::int32_t> converted = kor::toResolution(event.tick, division_);
        if (!converted) {
            if (!sounding_.empty() || isNoteOn(event)) fits_ = false;
            return;
        }
        const std::int32_t tick = *converted;
        lastTick_ = tick;
        if (event.isMeta()) {
            if (event.data1 == kMetaLyric)
                takeLyric(tick, withoutKaraokeMark(textOf(event, event.length, codePage_)));
            return;
        }
        if (!event.isChannelMessage()) return;
        switch (event.kind()) {
        case 0x9:
            noteOn(tick, event.channel(), event.data1, event.data2);
            break;
        case 0x8:
            noteOff(tick, event.channel(), event.data1);
            break;
        case 0xB:
            controller(tick, event.channel(), event.data1, event.data2);
            break;
        case 0xE:
            addPoint(kControlPitchBend, tick, event.data2 * 128 + event.data1 - kPitchCentre);
            break;
        default:
            break;
        }
    }

    void finish() {
        for (const auto& [key, note] : sounding_)
            end(note, lastTick_);
        sounding_.clear();
    }

    bool fits() const { return fits_; }

    std::vector<ImportedNote> notes;
    std::array<std::vector<ControlPoint>, CZRMusicalPart::kControlTypes> controls;

private:
    using ChannelKey = std::pair<std::uint8_t, std::uint8_t>;

    void noteOn(std::int32_t tick, std::uint8_t channel, std::uint8_t key, std::uint8_t velocity) {
        noteOff(tick, channel, key);
        sounding_.emplace(ChannelKey{channel, key}, notes.size());
        notes.push_back({tick, 0, key, velocity, std::move(pendingLyric_)});
        pendingLyric_.clear();
    }

    void noteOff(std::int32_t tick, std::uint8_t channel, std::uint8_t key) {
        const auto found = sounding_.find({channel, key});
        if (found == sounding_.end()) return;
        end(found->second, tick);
        sounding_.erase(found);
    }

    void end(std::size_t note, std::int32_t tick) {
        notes[note].length = std::max(tick - notes[note].tick, 1);
    }

    void takeLyric(std::int32_t tick, std::wstring text) {
        if (text.empty()) return;
        if (text.size() > static_cast<std::size_t>(CZRMusicalNote::kMaxTextLength))
            text.resize(CZRMusicalNote::kMaxTextLength);
        ImportedNote* first = nullptr;
        for (auto note = notes.rbegin(); note != notes.rend() && note->tick == tick; ++note)
            if (note->lyric.empty()) first = &*note;
        if (first != nullptr)
            first->lyric = std::move(text);
        else
            pendingLyric_ = std::move(text);
    }

    void controller(std::int32_t tick, std::uint8_t channel, std::uint8_t number,
                    std::uint8_t value) {
        switch (number) {
        case kControllerRpnMsb:
            rpnMsb_[channel] = value;
            break;
        case kControllerRpnLsb:
            rpnLsb_[channel] = value;
            break;
        case kControllerDataEntry:
            if (rpnMsb_[channel] == 0 && rpnLsb_[channel] == 0 && value <= kMaxBendSensitivity)
                addPoint(kControlBendSensitivity, tick, value);
            break;
        case kControllerExpression:
            addPoint(kControlDynamics, tick, value);
            break;
        default:
            break;
        }
    }

    // A later value at the same tick replaces the earlier one.
    void addPoint(std::int32_t type, std::int32_t tick, std::int32_t value) {
        auto& points = controls[static_cast<std::size_t>(type)];
        if (!points.empty() && points.back().tick == tick)
            points.back().value = value;
        else
            points.push_back({tick, value});
    }

    std::uint16_t division_;
    unsigned codePage_;
    std::map<ChannelKey, std::size_t> sounding_;
    std::wstring pendingLyric_;
    std::array<std::uint8_t, kChannels> rpnMsb_{};
    std::array<std::uint8_t, kChannels> rpnLsb_{};
    std::int32_t lastTick_ = 0;
    bool fits_ = true;
};

// The points of a curve within [start, end), relative to start, led by the value in effect at
// start when no point stands exactly there.
std::vector<ControlPoint> pointsWithin(const std::vector<ControlPoint>& curve, std::int32_t start,
                                       std::int32_t end) {
    std::vector<ControlPoint> out;
    std::optional<std::int32_t> inEffect;
    for (const ControlPoint& point : curve) {
        if (point.tick < start) {
            inEffect = point.value;
        } else if (point.tick < end) {
            if (out.empty() && inEffect && point.tick > start) out.push_back({0, *inEffect});
            out.push_back({point.tick - start, point.value});
        }
    }
    if (out.empty() && inEffect) out.push_back({0, *inEffect});
    return out;
}

} // namespace

std::uint32_t CxSmfImporter::survey(const std::wstring& path, unsigned codePage, bool channelSplit,
                                    std::vector<ZRSMFTrackImportDirective>& directives) {
    directives.clear();
    if (!kor::isPlainFile(path)) return ZR_E_FILE_NOT_FOUND;
    try {
        ParsedFile file;
        if (!file.read(path) || kor::hasLegacyText(*file.midi) == 1) return ZR_E_INVALID_SMF;
        CxMidiSequence& midi = *file.midi;
        const bool split = splitsByChannel(midi, channelSplit);
        const bool knownDefault = voices_.contains({defaultVoice_.vBS, defaultVoice_.vPC});
        for (std::size_t source = 0; source < sourceCount(midi, split); ++source) {
            ZRSMFTrackImportDirective directive;
            directive.sourceIndex = static_cast<int>(source);
            directive.codePage = static_cast<int>(codePage);
            bool named = false;
            const bool clean = walkSource(midi, split, source, [&](const CxMidiEvent& event) {
                if (isNoteOn(event)) ++directive.noteCount;
                if (!event.isMeta()) return;
                // The texts the import takes are decoded here once more only to count those
                // the code page fails, so that the host can choose another before importing.
                bool lost = false;
                if (event.data1 == kMetaTrackName || event.data1 == kMetaInstrumentName) {
                    // The first name event names the source, even an empty one: a later
                    // instrument name is not the track's name.
                    if (!named) directive.name = textOf(event, kMaxNameBytes, codePage, &lost);
                    named = true;
                } else if (event.data1 == kMetaLyric) {
                    textOf(event, event.length, codePage, &lost);
                } else if (source == 0 && event.data1 == kor::midi::kMetaTempo)
                    ++directive.tempoCount;
                else if (source == 0 && event.data1 == kMetaTimeSignature)
                    ++directive.timeSigCount;
                if (lost) ++directive.unconvertedTextCount;
            });
            if (directive.name.empty()) directive.name = L"Track" + std::to_wstring(source + 1);
            if (clean) {
                directive.importSwitch = directive.noteCount > 0 ? 1 : 0;
                directive.singerBS = knownDefault ? defaultVoice_.vBS : 0;
                directive.singerPC = knownDefault ? defaultVoice_.vPC : 0;
            }
            directives.push_back(std::move(directive));
        }
    } catch (const std::bad_alloc&) {
        directives.clear();
        return ZR_E_NOT_ENOUGH_MEMORY;
    }
    return 0;
}

namespace {

// Gives `part` the control points of `source` that fall within its span, as controls relative to
// its start.
bool addSourceControls(const ZRCreateContext& context, CZRMusicalPart& part,
                       const SourceReader& source) {
    const std::int32_t start = part.getPosTick();
    for (std::int32_t type = 0; type < CZRMusicalPart::kControlTypes; ++type) {
        for (const ControlPoint& point :
             pointsWithin(source.controls[static_cast<std::size_t>(type)], start,
                          start + part.getPlayTime())) {
            auto* control = kor::createObject<CZRMusicalControl>(
                context, ZR_NO_OBJ_ID, ZRMusicalControlValues{point.tick, type, point.value});
            if (control == nullptr || !part.controlList(type)->append(control)) return false;
        }
    }
    return true;
}

} // namespace

std::uint32_t CxSmfImporter::importFile(const std::wstring& path, std::int32_t preMeasure,
                                        bool channelSplit,
                                        const std::vector<ZRSMFTrackImportDirective>& directives,
                                        CZRKorDocument& target) {
    fileFormat_ = ZR_FILE_FORMAT_SMF1;
    if (const std::uint32_t code = begin(path, target)) return code;
    if (preMeasure < 1 || preMeasure > 8) return ZR_E_INVALID_PARAMETER;

    try {
        ParsedFile file;
        if (!file.read(path)) return fail(kStatusInvalid, ZR_E_INVALID_KOR_FILE, target);
        CxMidiSequence& midi = *file.midi;
        const bool split = splitsByChannel(midi, channelSplit);
        message_ = kor::directivesMisfit(directives, sourceCount(midi, split),
                                         [](const auto&) { return std::wstring(); });
        if (!message_.empty()) return fail(kStatusInvalid, ZR_E_INVALID_PARAMETER, target);

        const ZRCreateContext context = target.context();
        CZRSequence* sequence = startSong(target);
        if (sequence == nullptr) return fail(kStatusNoMemory, ZR_E_NOT_ENOUGH_MEMORY, target);
        if (kor::hasLegacyText(midi) == 1)
            return fail(kStatusInvalid, ZR_E_INVALID_KOR_FILE, target);
        if (!kor::convertConductorTrack(midi, *sequence->masterTrack(), context, true))
            return fail(kStatusInvalid, ZR_E_INVALID_SMF, target);

        // The song offers the voices the library knows, as a new song does.
        if (!addLibraryVoices(*sequence, context))
            return fail(kStatusNoMemory, ZR_E_NOT_ENOUGH_MEMORY, target);

        std::int32_t trackNo = 0;
        for (const ZRSMFTrackImportDirective& directive : directives) {
            if (directive.importSwitch == 0) continue;
            SourceReader reader(midi.header().division, static_cast<unsigned>(directive.codePage));
            const auto source = static_cast<std::size_t>(directive.sourceIndex);
            if (!walkSource(midi, split, source,
                            [&reader](const CxMidiEvent& event) { reader.take(event); }))
                return fail(kStatusInvalid, ZR_E_INVALID_SMF, target);
            reader.finish();
            if (!reader.fits()) return fail(kStatusInvalid, ZR_E_INVALID_SMF, target);
            CZRMusicalPart* part =
                addSourceTrack(context, *sequence, trackNo++, directive.name, directive.singerBS,
                               directive.singerPC, reader.notes);
            if (part == nullptr || !addSourceControls(context, *part, reader))
                return fail(kStatusNoMemory, ZR_E_NOT_ENOUGH_MEMORY, target);
        }
        sequence->masterTrack()->setSeqName(fileTitle(path));
        fileFormat_ = midi.header().format == 0 ? ZR_FILE_FORMAT_SMF0 : ZR_FILE_FORMAT_SMF1;

        if (!kor::shiftByPreMeasure(*target.root(), preMeasure))
            return fail(kStatusInvalid, ZR_E_INVALID_SMF, target);
        sequence->masterTrack()->setResolution(CZRMasterTrack::kResolution);
        if (const std::uint32_t code = kor::verifySong(target, message_))
            return fail(kStatusInvalid, code, target);
    } catch (const std::bad_alloc&) {
        return fail(kStatusNoMemory, ZR_E_NOT_ENOUGH_MEMORY, target);
    }
    return 0;
}

namespace kor {

ZRFileFormat midiFileFormat(const std::wstring& path) {
    try {
        ParsedFile file;
        if (!isPlainFile(path) || !startsAsMidi(path) || !file.read(path))
            return ZR_FILE_FORMAT_UNKNOWN;
        CxMidiSequence& midi = *file.midi;
        switch (hasLegacyText(midi)) {
        case 0:
            return midi.header().format == 0 ? ZR_FILE_FORMAT_SMF0 : ZR_FILE_FORMAT_SMF1;
        case 1:
            break;
        default:
            return ZR_FILE_FORMAT_UNKNOWN;
        }
        CxTypedFile text;
        bool hadText = false;
        if (midi.trackCount() < 2 || !collectTrackText(midi, 1, text, hadText))
            return ZR_FILE_FORMAT_UNKNOWN;
        return legacyVersionNumber(text.value(L"Common", L"Version")) > 201
                   ? ZR_FILE_FORMAT_LEGACY3
                   : ZR_FILE_FORMAT_LEGACY2;
    } catch (const std::bad_alloc&) {
        return ZR_FILE_FORMAT_UNKNOWN;
    }
}

} // namespace kor
