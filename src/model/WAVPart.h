// A part of an audio track that plays a WAV file.
#pragma once

#include "model/Part.h"
#include "platform/XmlChars.h"

#include <korman/IZRWAVPart.h>

/// Initial values of a WAV part.
struct ZRWAVPartValues {
    ZRPartValues part;
    std::int32_t sampleRate = 0;
    std::int32_t sampleReso = 0;
    std::int32_t channels = 0;
    std::wstring filePath;
    std::int32_t durSec = 0; ///< 16.16 seconds
};

/// A WAV part. Its tick length follows from its length in seconds under the tempos of the
/// sequence that holds it; it has no children.
class CZRWAVPart final : public TZRPart<CZRWAVPart, IZRWAVPart> {
public:
    static constexpr ZRObjType kType = ZRObjType::WAVPart;
    static constexpr std::size_t kMaxPathLength = 260;
    /// The one sample resolution a song holds, in bits.
    static constexpr std::int32_t kSampleReso = 16;
    /// True for the sample rates a song holds: 44.1, 48 and 96 kHz.
    static constexpr bool supportsRate(std::int32_t rate) {
        return rate == 44100 || rate == 48000 || rate == 96000;
    }

    explicit CZRWAVPart(std::uint32_t objID, ZRWAVPartValues values = {});

    std::int32_t getDurSec() const override { return values_.durSec; }
    std::int32_t getSampleRate() const override { return values_.sampleRate; }
    std::int32_t getSampleReso() const override { return values_.sampleReso; }
    std::int32_t getChannels() const override { return values_.channels; }
    const std::wstring& getFilePath() const override { return values_.filePath; }
    bool isRootedPath() const override;
    bool isRelativePath() const override { return !isRootedPath(); }

    void setDurSec(std::int32_t durSec) { values_.durSec = durSec; }
    void setSampleRate(std::int32_t rate) { values_.sampleRate = rate; }
    void setSampleReso(std::int32_t reso) { values_.sampleReso = reso; }
    void setChannels(std::int32_t channels) { values_.channels = channels; }
    void setFilePath(std::wstring path) {
        values_.filePath = kor::platform::storedText(std::move(path));
    }

    /// Rate, resolution, channels, path, then the shared part checks.
    std::uint32_t validate() const override;
    /// The shared part repair, then the WAV checks as unrepairable faults.
    std::uint32_t correct(CZRObjectTable& table, const ZRCreateContext& context) override;

    /// durTick from durSec under the master track of the containing sequence; kept when that
    /// cannot be computed.
    void updateDerivedLength();

private:
    friend class TZRObject<CZRWAVPart, IZRWAVPart, CZRPart>;

    struct Fields {
        std::int32_t sampleRate;
        std::int32_t sampleReso;
        std::int32_t channels;
        std::wstring filePath;
        std::int32_t durSec;
    };

    std::uint32_t validateWave() const;
    void copyValues(const CZRWAVPart& source) { values_ = source.values_; }
    void swapValues(CZRWAVPart& other) { std::swap(values_, other.values_); }
    void dumpFields(std::wstring& out) const;

    Fields values_;
};
