#include "manager/WavPartFiles.h"

#include "model/KorDocument.h"
#include "model/KorRoot.h"
#include "model/Sequence.h"
#include "model/WAVPart.h"
#include "model/WAVTrack.h"
#include "platform/Path.h"

#include <korman/CZRWaveReader.h>

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

namespace kor {

namespace {

// The audio tracks of a song: its sound-effect track, then its backing track.
std::vector<CZRWAVTrack*> audioTracks(const CZRKorDocument& document) {
    const CZRSequence* sequence =
        document.root() != nullptr ? document.root()->sequence() : nullptr;
    if (sequence == nullptr) return {};
    return {sequence->seTrack(), sequence->karaokeTrack()};
}

// 16.16 seconds of `frames` frames at `rate` frames per second, kept within 32 bits.
std::int32_t framesToSeconds(std::uint32_t frames, int rate) {
    const std::uint64_t seconds = (std::uint64_t{frames} << 16) / static_cast<std::uint64_t>(rate);
    return static_cast<std::int32_t>(
        std::min<std::uint64_t>(seconds, std::numeric_limits<std::int32_t>::max()));
}

} // namespace

std::wstring wavPartsFolder(std::wstring_view songPath) {
    return std::wstring(platform::withoutExtension(songPath)) + L".wavparts";
}

const std::wstring& songBasePath(const CZRKorDocument& document) {
    return document.filePath.empty() ? document.tempFilePath : document.filePath;
}

std::wstring actualWavPath(const CZRKorDocument& document, const CZRWAVPart& part) {
    if (part.isRootedPath()) return part.getFilePath();
    return platform::joinPath(wavPartsFolder(songBasePath(document)),
                              platform::fileNamePart(part.getFilePath()));
}

bool checkWavParts(CZRKorDocument& document) {
    document.danglingWavParts.clear();
    platform::HeldFiles held;
    for (CZRWAVTrack* track : audioTracks(document)) {
        if (track == nullptr || track->wavPartList() == nullptr) continue;
        for (IZRMutableKorObject* element : track->wavPartList()->elements()) {
            auto* part = objCast<CZRWAVPart>(element);
            if (part == nullptr) return false;
            // A file in a format the song cannot hold leaves the part dangling like a missing
            // file, rather than taking over values that no save would accept. Either track
            // plays mono and stereo files alike, as the editor takes both on either.
            CZRWaveReader reader;
            if (reader.open(actualWavPath(document, *part).c_str()) == 0 ||
                !CZRWAVPart::supportsRate(reader.getSampleRate()) ||
                reader.getSampleReso() != CZRWAVPart::kSampleReso) {
                document.danglingWavParts.push_back(part->getObjID());
                continue;
            }
            part->setChannels(reader.getChannels());
            part->setSampleRate(reader.getSampleRate());
            part->setSampleReso(reader.getSampleReso());
            part->setDurSec(framesToSeconds(reader.getSampleNum(), reader.getSampleRate()));
            part->updateDerivedLength();
            if (const auto name = platform::toPath(platform::fileNamePart(part->getFilePath()));
                name && !part->isRootedPath())
                held.add(name->native());
        }
    }
    if (const auto folder = platform::toPath(wavPartsFolder(songBasePath(document))))
        held.openIn(*folder);
    document.wavSources = std::move(held);
    return true;
}

} // namespace kor
