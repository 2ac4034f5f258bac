// An articulation of a voice, read from its articulation (".aic") file.
#pragma once

#include <cstdint>
#include <string>

class CxTypedFile;

/// An articulation: a caption and a default length in ticks. Loading reads the INI-like
/// articulation file (comments allowed): "Caption" (or, when empty, "Articulation") of section
/// "Common" and "Length" of section "Parameter", where 0 or a missing length gives 240.
class CIconObject {
public:
    static constexpr std::int32_t kDefaultLength = 240;

    CIconObject() = default;
    CIconObject(const CIconObject&) = default;
    CIconObject& operator=(const CIconObject&) = default;
    virtual ~CIconObject() = default;

    /// Reads the articulation file at `path`. False when the path names no plain file or the
    /// file does not parse; the object is then unchanged.
    [[nodiscard]] bool load(const std::wstring& path);

    const std::wstring& caption() const { return caption_; }
    void setCaption(std::wstring caption) { caption_ = std::move(caption); }
    std::int32_t length() const { return length_; }
    void setLength(std::int32_t length) { length_ = length; }

protected:
    /// Takes what this kind of articulation needs from the parsed file; derived kinds call the
    /// base first.
    virtual void readFrom(const CxTypedFile& file);

private:
    std::wstring caption_;
    std::int32_t length_ = kDefaultLength;
};
