// The whole image of a file in memory, for readers that parse it in place.
#pragma once

#include "legacy/MidiEvent.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

/// Owns the bytes of one file read whole. Loading again releases the earlier image first.
class CxGlobalBuffer {
public:
    CxGlobalBuffer() = default;
    CxGlobalBuffer(const CxGlobalBuffer&) = delete;
    CxGlobalBuffer& operator=(const CxGlobalBuffer&) = delete;

    /// Reads the file at `path` whole. False when it cannot be opened or read (error()
    /// OpenFailed), is empty (InvalidFile) or memory runs out (NoMemory); there is then no image.
    [[nodiscard]] bool load(const std::wstring& path);

    /// The image, or null when none is loaded. Borrowed; valid until the next load.
    const std::uint8_t* data() const { return bytes_.get(); }
    std::size_t size() const { return size_; }
    /// Why the last load failed; None after a successful one.
    CxMidiStatus error() const { return error_; }

private:
    std::unique_ptr<std::uint8_t[]> bytes_;
    std::size_t size_ = 0;
    CxMidiStatus error_ = CxMidiStatus::None;
};
