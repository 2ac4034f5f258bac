#include "CodePage.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

#include <iconv.h>
#include <langinfo.h>

namespace kortool {

namespace {

// One iconv conversion to wide characters, only to learn whether bytes convert.
class Decoder {
public:
    explicit Decoder(const std::string& charset)
        : cd_(charset.empty() ? kClosed : ::iconv_open("WCHAR_T", charset.c_str())) {}
    ~Decoder() {
        if (cd_ != kClosed) ::iconv_close(cd_);
    }
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    // True when all of `bytes` are whole characters of the character set.
    bool converts(std::string_view bytes) {
        if (cd_ == kClosed) return false;
        ::iconv(cd_, nullptr, nullptr, nullptr, nullptr); // back to the initial shift state
        char* in = const_cast<char*>(bytes.data()); // iconv predates const; it only reads here
        std::size_t inLeft = bytes.size();
        char buffer[256];
        while (inLeft > 0) {
            char* out = buffer;
            std::size_t outLeft = sizeof buffer;
            if (::iconv(cd_, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1) &&
                errno != E2BIG)
                return false; // an invalid sequence, or a character cut off at the end
        }
        return true;
    }

private:
    static inline const iconv_t kClosed = reinterpret_cast<iconv_t>(-1);
    iconv_t cd_;
};

bool isAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

std::string charsetOf(unsigned codePage) {
    switch (codePage) {
    case 0:
    case 3: {
        const char* codeset = ::nl_langinfo(CODESET);
        if (codeset == nullptr || *codeset == '\0' || std::strcmp(codeset, "ANSI_X3.4-1968") == 0)
            return "UTF-8";
        return codeset;
    }
    case 932:
        return "CP932";
    case 936:
        return "GBK";
    case 949:
        return "CP949";
    case 950:
        return "BIG5";
    case 65001:
        return "UTF-8";
    default:
        if (codePage >= 1250 && codePage <= 1258) return "CP" + std::to_string(codePage);
        return {};
    }
}

std::size_t unconvertibleTexts(const MidiTexts& texts, bool legacy, unsigned codePage) {
    Decoder decoder(charsetOf(codePage));
    std::size_t failed = 0;
    if (legacy) {
        // The library decodes a legacy text line by line; ASCII lines need no conversion.
        for (const std::string& text : texts.legacyTexts) {
            std::string_view rest = text;
            while (!rest.empty()) {
                const std::size_t feed = std::min(rest.find('\n'), rest.size());
                const std::string_view line = rest.substr(0, feed);
                if (!isAscii(line) && !decoder.converts(line)) ++failed;
                rest.remove_prefix(std::min(feed + 1, rest.size()));
            }
        }
        return failed;
    }
    // A name or lyric that does not convert in full is left out, or loses its last character when
    // only that one is cut off.
    for (const auto* group : {&texts.names, &texts.lyrics})
        for (const std::string& text : *group)
            if (!text.empty() && !decoder.converts(text)) ++failed;
    return failed;
}

} // namespace kortool
