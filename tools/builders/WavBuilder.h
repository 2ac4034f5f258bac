// Builds the bytes of RIFF/WAVE files for tests, chunk by chunk.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kor::test {

/// Little-endian byte writer with RIFF chunk framing.
class WavBuilder {
public:
    /// A "fmt " chunk; `extra` bytes are appended after the 16-byte PCM block (an 18-byte block
    /// with its extra-size field when extra is 2, longer ones beyond).
    WavBuilder& fmt(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                    std::uint16_t bits, std::size_t extra = 0) {
        std::string body;
        put16(body, tag);
        put16(body, channels);
        put32(body, rate);
        put32(body, rate * channels * (bits / 8));
        put16(body, static_cast<std::uint16_t>(channels * (bits / 8)));
        put16(body, bits);
        body.append(extra, '\0');
        return chunk("fmt ", body);
    }
    /// A "data" chunk holding `bytes`.
    WavBuilder& data(const std::string& bytes) { return chunk("data", bytes); }
    /// Any chunk, padded to an even size as RIFF requires.
    WavBuilder& chunk(const std::string& id, const std::string& body) {
        chunks_ += id;
        put32(chunks_, static_cast<std::uint32_t>(body.size()));
        chunks_ += body;
        if (body.size() % 2 != 0) chunks_ += '\0';
        return *this;
    }
    /// The whole file: "RIFF", its size, "WAVE" and the chunks.
    std::string bytes() const {
        std::string file = "RIFF";
        put32(file, static_cast<std::uint32_t>(4 + chunks_.size()));
        return file + "WAVE" + chunks_;
    }

    /// `frames` 16-bit stereo frames whose left sample is the frame number and right its negation.
    static std::string stereoRamp(int frames) {
        std::string samples;
        for (int i = 0; i < frames; ++i) {
            put16(samples, static_cast<std::uint16_t>(i));
            put16(samples, static_cast<std::uint16_t>(-i));
        }
        return samples;
    }

    static void put16(std::string& out, std::uint16_t v) {
        out += static_cast<char>(v & 0xFF);
        out += static_cast<char>(v >> 8);
    }
    static void put32(std::string& out, std::uint32_t v) {
        put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
        put16(out, static_cast<std::uint16_t>(v >> 16));
    }

private:
    std::string chunks_;
};

} // namespace kor::test
