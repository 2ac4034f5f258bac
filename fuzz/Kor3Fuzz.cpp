// Loads bytes as a KOR3 song through the validating reader.
#include "XmlSongFuzz.h"

#include "formats/kor3/Kor3Parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kor::fuzz::loadSong<Kor3::CZRKor3Parser>(data, size);
    return 0;
}
