#include "formats/xml/XmlOutput.h"

#include "platform/XmlChars.h"

#include <algorithm>
#include <charconv>
#include <cstring>

void CZRXmlOutput::grow(std::size_t count) {
    if (sink_ && size_ != 0) {
        flush();
        if (capacity_ >= count) return;
    }
    const std::size_t capacity =
        std::max({capacity_ * 2, size_ + count, chunkSize_, std::size_t{1} << 16});
    auto data = std::make_unique_for_overwrite<char[]>(capacity);
    if (size_ != 0) std::memcpy(data.get(), data_.get(), size_);
    data_ = std::move(data);
    capacity_ = capacity;
}

bool CZRXmlOutput::flush() {
    if (size_ != 0 && sink_ && !sinkFailed_) sinkFailed_ = !sink_(bytes());
    if (sink_) size_ = 0;
    return !sinkFailed_;
}

void CZRXmlOutput::line(std::string_view text) {
    commit(copy(copy(reserve(text.size() + 2), text), "\r\n"));
}

CZRXmlOutput::Element::Element(CZRXmlOutput& out, std::string_view name, std::string_view attrName,
                               std::wstring_view attrValue)
    : out_(out)
    , name_(name) {
    char* at = open(out_.reserve(name.size() + attrName.size() + kLineOverhead), out_.depth_, name);
    *at++ = ' ';
    at = copy(at, attrName);
    out_.commit(copy(at, "=\""));
    out_.attrValue(attrValue);
    out_.commit(copy(out_.reserve(8 + closingRoom(name)), "\">\r\n"));
    out_.enter(name);
}

CZRXmlOutput::Element::Element(CZRXmlOutput& out, std::string_view name,
                               std::string_view attributes)
    : out_(out)
    , name_(name) {
    char* at = out_.reserve(name.size() + attributes.size() + kLineOverhead + closingRoom(name));
    out_.commit(copy(copy(open(at, out_.depth_, name), attributes), ">\r\n"));
    out_.enter(name);
}

void CZRXmlOutput::text(std::string_view name, std::wstring_view value, std::size_t maxLength) {
    commit(copy(open(reserve(name.size() + kLineOverhead), depth_, name), ">"));
    cdata(value, maxLength);
    commit(close(reserve(name.size() + kLineOverhead), name));
}

void CZRXmlOutput::text(std::string_view name, std::string_view attrName, std::int32_t attrValue,
                        std::wstring_view value, std::size_t maxLength) {
    char* at = open(reserve(name.size() + attrName.size() + kLineOverhead), depth_, name);
    *at++ = ' ';
    at = copy(at, attrName);
    at = copy(at, "=\"");
    at = number(at, attrValue);
    commit(copy(at, "\">"));
    cdata(value, maxLength);
    commit(close(reserve(name.size() + kLineOverhead), name));
}

// A "]]>" would end the CDATA section early, so it is written as "]]&gt;", which the reader turns
// back. The cut applies to the escaped text, as the element's maximum counts what is written.
void CZRXmlOutput::cdata(std::wstring_view value, std::size_t maxLength) {
    static constexpr std::wstring_view kEnd = L"]]>";
    commit(copy(reserve(9), "<![CDATA["));
    if (value.find(kEnd) == std::wstring_view::npos) {
        utf8(value.substr(0, maxLength));
    } else {
        std::wstring escaped;
        escaped.reserve(value.size() + 8);
        std::size_t pos = 0;
        for (std::size_t at = value.find(kEnd); at != std::wstring_view::npos;
             at = value.find(kEnd, pos)) {
            escaped.append(value.substr(pos, at - pos));
            escaped.append(L"]]&gt;");
            pos = at + kEnd.size();
        }
        escaped.append(value.substr(pos));
        utf8(std::wstring_view(escaped).substr(0, maxLength));
    }
    commit(copy(reserve(3), "]]>"));
}

// The markup characters become references; so do tab, LF and CR, which a reader would otherwise
// turn into blanks when it normalises the attribute value.
void CZRXmlOutput::attrValue(std::wstring_view value) {
    std::size_t pos = 0;
    for (std::size_t at = 0; at < value.size(); ++at) {
        std::string_view reference;
        switch (value[at]) {
        case L'&':
            reference = "&amp;";
            break;
        case L'<':
            reference = "&lt;";
            break;
        case L'>':
            reference = "&gt;";
            break;
        case L'"':
            reference = "&quot;";
            break;
        case L'\t':
            reference = "&#9;";
            break;
        case L'\n':
            reference = "&#10;";
            break;
        case L'\r':
            reference = "&#13;";
            break;
        default:
            continue;
        }
        utf8(value.substr(pos, at - pos));
        commit(copy(reserve(reference.size()), reference));
        pos = at + 1;
    }
    utf8(value.substr(pos));
}

void CZRXmlOutput::utf8(std::wstring_view text) {
    char* at = reserve(4 * text.size());
    for (const wchar_t wc : text) {
        auto c = static_cast<std::uint32_t>(wc);
        if (!kor::platform::isXmlChar(c))
            c = static_cast<std::uint32_t>(kor::platform::kReplacementChar);
        if (c < 0x80) {
            *at++ = static_cast<char>(c);
        } else if (c < 0x800) {
            *at++ = static_cast<char>(0xC0 | (c >> 6));
            *at++ = static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            *at++ = static_cast<char>(0xE0 | (c >> 12));
            *at++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *at++ = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            *at++ = static_cast<char>(0xF0 | (c >> 18));
            *at++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            *at++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *at++ = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    commit(at);
}
