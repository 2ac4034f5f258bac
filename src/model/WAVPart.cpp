#include "model/WAVPart.h"

#include "model/ContainerOps.h"
#include "model/MasterTrack.h"
#include "model/Sequence.h"

#include <korman/ErrorCodes.h>

CZRWAVPart::CZRWAVPart(std::uint32_t objID, ZRWAVPartValues values)
    : TZRPart(objID, std::move(values.part))
    , values_{values.sampleRate, values.sampleReso, values.channels, std::move(values.filePath),
              values.durSec} {}

// The folder part is what precedes the last separator, after a drive prefix such as "C:".
bool CZRWAVPart::isRootedPath() const {
    std::wstring_view path = values_.filePath;
    if (path.size() >= 2 && path[1] == L':') path.remove_prefix(2);
    const std::size_t lastSeparator = path.find_last_of(L"/\\");
    return lastSeparator != std::wstring_view::npos && (path[0] == L'/' || path[0] == L'\\');
}

std::uint32_t CZRWAVPart::validateWave() const {
    if (!supportsRate(values_.sampleRate)) return ZR_E_INVALID_WAVE_SAMPLING_RATE;
    if (values_.sampleReso != kSampleReso) return ZR_E_INVALID_WAVE_SAMPLING_RESOLUTION;
    if (values_.channels != 1 && values_.channels != 2) return ZR_E_INVALID_WAVE_CHANNELS;
    if (values_.filePath.empty() || values_.filePath.size() > kMaxPathLength)
        return ZR_E_INVALID_WAVE_FILE_PATH;
    return 0;
}

std::uint32_t CZRWAVPart::validate() const {
    if (const std::uint32_t code = validateWave()) return code;
    return part().validate();
}

std::uint32_t CZRWAVPart::correct(CZRObjectTable& table, const ZRCreateContext& context) {
    const std::uint32_t result = part().correct(table, context);
    if ((result & kor::kUnrepairable) != 0) return result;
    if (const std::uint32_t code = validateWave()) return kor::unrepairable(code);
    return result;
}

void CZRWAVPart::updateDerivedLength() {
    if (const auto ticks =
            kor::secDurationToTicks(kor::findMasterTrack(this), getPosTick(), values_.durSec))
        part().setDurTick(*ticks);
}

void CZRWAVPart::dumpFields(std::wstring& out) const {
    part().dumpPartLine(out, &values_.durSec);
    kor::appendFormat(out, L" sampleRate=%d sampleReso=%d channels=%d filePath=%ls ",
                      values_.sampleRate, values_.sampleReso, values_.channels,
                      values_.filePath.c_str());
}
