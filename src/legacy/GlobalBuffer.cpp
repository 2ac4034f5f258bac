#include "legacy/GlobalBuffer.h"

#include "platform/Path.h"

#include <filesystem>
#include <fstream>
#include <new>
#include <optional>

bool CxGlobalBuffer::load(const std::wstring& path) {
    bytes_.reset();
    size_ = 0;
    error_ = CxMidiStatus::OpenFailed;

    std::optional<std::filesystem::path> fsPath = kor::platform::toPath(path);
    if (!fsPath) return false;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(*fsPath, ec)) return false;
    std::uintmax_t size = std::filesystem::file_size(*fsPath, ec);
    if (ec) return false;
    if (size == 0) {
        error_ = CxMidiStatus::InvalidFile;
        return false;
    }
    std::ifstream in(*fsPath, std::ios::binary);
    if (!in) return false;
    try {
        bytes_ = std::make_unique_for_overwrite<std::uint8_t[]>(static_cast<std::size_t>(size));
    } catch (const std::exception&) { // bad_alloc, or a length beyond what an array may hold
        error_ = CxMidiStatus::NoMemory;
        return false;
    }
    in.read(reinterpret_cast<char*>(bytes_.get()), static_cast<std::streamsize>(size));
    // A file that changed size while being read is not the file that was asked for.
    if (static_cast<std::uintmax_t>(in.gcount()) != size ||
        in.peek() != std::char_traits<char>::eof()) {
        bytes_.reset();
        return false;
    }
    size_ = static_cast<std::size_t>(size);
    error_ = CxMidiStatus::None;
    return true;
}
