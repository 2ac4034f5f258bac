#include "platform/CodePage.h"

#include <cerrno>
#include <cstring>

#include <iconv.h>
#include <langinfo.h>

namespace kor::platform {

namespace {

constexpr const char* kUtf8 = "UTF-8";

bool isSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

// A multi-byte UTF-8 sequence: its length, the shortest code point it may carry and the payload
// bits of its lead byte.
struct Form {
    std::size_t length;
    char32_t smallest;
    unsigned char payload;
};

// The iconv name of a code page's character set; null for an unknown number.
const char* charsetOf(unsigned codePage) {
    static constexpr const char* kSingleByteSets[] = {
        "CP1250", "CP1251", "CP1252", "CP1253", "CP1254", "CP1255", "CP1256", "CP1257", "CP1258"};
    switch (codePage) {
    case kCodePageAnsi:
    case kCodePageThreadAnsi: {
        const char* codeset = ::nl_langinfo(CODESET);
        if (codeset == nullptr || codeset[0] == '\0' || std::strcmp(codeset, "ANSI_X3.4-1968") == 0)
            return kUtf8;
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
    case kCodePageUtf8:
        return kUtf8;
    default:
        if (codePage >= 1250 && codePage <= 1258) return kSingleByteSets[codePage - 1250];
        return nullptr;
    }
}

bool isUtf8(const char* charset) {
    return std::strcmp(charset, kUtf8) == 0;
}

// One iconv conversion descriptor, closed on destruction.
class Converter {
public:
    Converter(const char* to, const char* from)
        : cd_(::iconv_open(to, from)) {}
    ~Converter() {
        if (isOpen()) ::iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool isOpen() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts all of input into output; false on an invalid or unconvertible character or a
    // character cut off at the end.
    bool convert(const char* input, std::size_t size, std::string& output) {
        // iconv does not write through its input pointer; its signature just predates const.
        char* in = const_cast<char*>(input);
        std::size_t inLeft = size;
        std::size_t used = 0;
        output.assign(size * 4 + 16, '\0');
        // Convert the input (iconv succeeds only once all of it is consumed), then call once more
        // without input to end in the initial shift state. A full output is grown and the step
        // repeated.
        bool flushing = false;
        for (;;) {
            char* out = output.data() + used;
            std::size_t outLeft = output.size() - used;
            const std::size_t result = flushing ? ::iconv(cd_, nullptr, nullptr, &out, &outLeft)
                                                : ::iconv(cd_, &in, &inLeft, &out, &outLeft);
            used = output.size() - outLeft;
            if (result == static_cast<std::size_t>(-1)) {
                if (errno != E2BIG) return false;
                output.resize(output.size() * 2);
            } else if (!flushing) {
                flushing = true;
            } else {
                output.resize(used);
                return true;
            }
        }
    }

private:
    iconv_t cd_;
};

} // namespace

std::optional<std::string> encodeUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t w : text) {
        const auto c = static_cast<char32_t>(w);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            if (isSurrogate(c)) return std::nullopt;
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c <= 0x10FFFF) {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            return std::nullopt;
        }
    }
    return out;
}

std::optional<std::wstring> decodeUtf8(std::string_view bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            out += static_cast<wchar_t>(lead);
            ++i;
            continue;
        }
        // The lead byte gives the length and its payload bits; the shortest code point of that
        // length tells an overlong form apart.
        Form form;
        if ((lead & 0xE0) == 0xC0)
            form = {2, 0x80, 0x1F};
        else if ((lead & 0xF0) == 0xE0)
            form = {3, 0x800, 0x0F};
        else if ((lead & 0xF8) == 0xF0)
            form = {4, 0x10000, 0x07};
        else
            return std::nullopt;
        const std::size_t length = form.length;
        char32_t c = lead & form.payload;
        if (length > bytes.size() - i) return std::nullopt;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return std::nullopt;
            c = (c << 6) | (next & 0x3F);
        }
        if (c < form.smallest || c > 0x10FFFF || isSurrogate(c)) return std::nullopt;
        out += static_cast<wchar_t>(c);
        i += length;
    }
    return out;
}

std::optional<std::wstring> multiByteToWide(std::string_view bytes, unsigned codePage) {
    const char* charset = charsetOf(codePage);
    if (charset == nullptr) return std::nullopt;
    if (isUtf8(charset)) return decodeUtf8(bytes);
    Converter converter("WCHAR_T", charset);
    std::string raw;
    if (!converter.isOpen() || !converter.convert(bytes.data(), bytes.size(), raw))
        return std::nullopt;
    std::wstring text(raw.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), raw.data(), text.size() * sizeof(wchar_t));
    return text;
}

std::optional<std::string> wideToMultiByte(std::wstring_view text, unsigned codePage) {
    const char* charset = charsetOf(codePage);
    if (charset == nullptr) return std::nullopt;
    if (isUtf8(charset)) return encodeUtf8(text);
    Converter converter(charset, "WCHAR_T");
    std::string bytes;
    if (!converter.isOpen() || !converter.convert(reinterpret_cast<const char*>(text.data()),
                                                  text.size() * sizeof(wchar_t), bytes))
        return std::nullopt;
    return bytes;
}

} // namespace kor::platform
