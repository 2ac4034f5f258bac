// Opens bytes as a WAV file and reads frames from its start, its middle and past its end.
#include "FuzzFile.h"

#include "manager/WaveReaderImpl.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static kor::fuzz::FuzzFile file;
    file.write(data, size);
    CZRWaveReaderImpl reader;
    if (!reader.open(file.path())) return 0;

    const kor::platform::WaveFormat& format = reader.format();
    constexpr std::uint32_t kFrames = 16;
    std::vector<unsigned char> buffer(std::size_t{kFrames} * (format.bitsPerSample / 8u) *
                                      format.channels);
    (void)reader.readFrames(buffer.data(), kFrames);
    if (reader.seekFrame(reader.sampleNum() / 2)) (void)reader.readFrames(buffer.data(), kFrames);
    if (reader.seekFrame(std::uint64_t{reader.sampleNum()} + 1))
        (void)reader.readFrames(buffer.data(), kFrames);
    reader.close();
    return 0;
}
