// Formatting of the lines of a song document straight into UTF-8 bytes.
#pragma once

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string_view>

/// Builds the lines of an indented XML document in a byte buffer of its own: elements open and
/// close with the scope of an Element, values go into the innermost open one; one tab per nesting
/// level, CR LF line ends, integers in decimal, every text value in one CDATA section. Wide text
/// is encoded as UTF-8 on the way in, so the document never exists as wide text. Without a sink
/// the buffer grows to hold the whole document; with one, each time the buffer holds a chunk it
/// is handed to the sink and reused, so a large document passes through a small buffer. A
/// character XML 1.0 cannot carry (a C0 control other than tab, LF and CR, U+FFFE, U+FFFF, a
/// surrogate or a value beyond Unicode) is written as U+FFFD, so the document always reads.
/// Attribute values are escaped. Running out of memory throws std::bad_alloc.
class CZRXmlOutput {
public:
    /// Deeper than any element of a song; a deeper level gets this many tabs.
    static constexpr std::size_t kMaxTabs = 16;
    /// Takes a piece of the document; false when it could not be stored.
    using Sink = std::function<bool(std::string_view)>;

    CZRXmlOutput() = default;
    CZRXmlOutput(Sink sink, std::size_t chunkSize)
        : sink_(std::move(sink))
        , chunkSize_(chunkSize) {}
    CZRXmlOutput(const CZRXmlOutput&) = delete;
    CZRXmlOutput& operator=(const CZRXmlOutput&) = delete;

    /// A line written as it is, followed by CR LF.
    void line(std::string_view text);
    // The writer calls the functions marked always_inline for every value and element of a song:
    // made at each call, they copy the names the call gives literally as constants, not through
    // a call, which leaves formatting a song about as cheap as with hand-written levels.

    /// "<name>value</name>" inside the open element.
    [[gnu::always_inline]] void integer(std::string_view name, std::int32_t value) {
        char* at = open(reserve(2 * name.size() + kLineOverhead), depth_, name);
        *at++ = '>';
        commit(close(number(at, value), name));
    }
    /// "<name><![CDATA[value]]></name>" inside the open element: each "]]>" of the value stands
    /// as "]]&gt;", and the escaped value is cut to `maxLength` characters.
    void text(std::string_view name, std::wstring_view value, std::size_t maxLength);
    /// The same with the integer attribute `attrName` in the start tag.
    void text(std::string_view name, std::string_view attrName, std::int32_t attrValue,
              std::wstring_view value, std::size_t maxLength);
    /// "<name attrName="attrText">value</name>" inside the open element, such as one named
    /// style or control value; the attribute text is escaped.
    [[gnu::always_inline]] void integer(std::string_view name, std::string_view attrName,
                                        std::wstring_view attrText, std::int32_t value) {
        char* at = open(reserve(name.size() + attrName.size() + kLineOverhead), depth_, name);
        *at++ = ' ';
        at = copy(at, attrName);
        commit(copy(at, "=\""));
        attrValue(attrText);
        at = copy(reserve(name.size() + kLineOverhead), "\">");
        commit(close(number(at, value), name));
    }

    /// An element open in the output: its start tag is written as the element is made, on a line
    /// of its own inside the element open before, and its end tag when it goes out of scope, so
    /// that what is written meanwhile lands inside it, indented one level more. The output keeps
    /// room for the end tags of the open elements, so closing one never allocates and never
    /// throws; when an exception leaves the scope the document is abandoned anyway.
    class Element {
    public:
        /// "<name>".
        [[gnu::always_inline]] Element(CZRXmlOutput& out, std::string_view name)
            : out_(out)
            , name_(name) {
            char* at = out_.reserve(name.size() + kLineOverhead + closingRoom(name));
            out_.commit(copy(open(at, out_.depth_, name), ">\r\n"));
            out_.enter(name);
        }
        /// "<name attrName="value">"; the value is escaped (attrValue).
        Element(CZRXmlOutput& out, std::string_view name, std::string_view attrName,
                std::wstring_view attrValue);
        /// "<name" + `attributes` as they are + ">": the root element with its namespaces.
        Element(CZRXmlOutput& out, std::string_view name, std::string_view attributes);
        Element(const Element&) = delete;
        Element& operator=(const Element&) = delete;
        [[gnu::always_inline]] ~Element() {
            --out_.depth_;
            out_.closing_ -= closingRoom(name_);
            out_.commit(close(tabs(out_.data_.get() + out_.size_, out_.depth_), name_));
        }

    private:
        CZRXmlOutput& out_;
        std::string_view name_;
    };

    /// The document so far, or the part not yet handed to the sink.
    std::string_view bytes() const { return {data_.get(), size_}; }
    /// Hands the buffered bytes to the sink; false when the sink failed, now or before.
    bool flush();

private:
    static constexpr char kTabs[kMaxTabs + 1] = "\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t";
    /// Room for a line besides its names: tabs, brackets, a number and CR LF.
    static constexpr std::size_t kLineOverhead = kMaxTabs + 40;

    /// The most an end tag of `name` takes: tabs, name, brackets and CR LF.
    static constexpr std::size_t closingRoom(std::string_view name) {
        return kMaxTabs + name.size() + 5;
    }
    /// Room for `count` more bytes, besides the room kept for the end tags of the open elements;
    /// returns where they go. Commit what was written with commit().
    char* reserve(std::size_t count) {
        if (capacity_ - size_ < count + closing_) grow(count + closing_);
        return data_.get() + size_;
    }
    /// Makes the element `name`, whose start tag was just written with room for its end tag
    /// besides, the open element.
    void enter(std::string_view name) {
        closing_ += closingRoom(name);
        ++depth_;
    }
    void commit(const char* end) { size_ = static_cast<std::size_t>(end - data_.get()); }
    void grow(std::size_t count);

    // Inline, so that for the literal names of a writer every copy has a length known when
    // compiling and becomes a few moves instead of a call.
    static char* copy(char* at, std::string_view text) {
        std::memcpy(at, text.data(), text.size());
        return at + text.size();
    }
    // Copies all the tabs there are, which is one fixed move, and keeps as many as the level
    // wants: every line reserves room for them.
    static char* tabs(char* at, int level) {
        std::memcpy(at, kTabs, kMaxTabs);
        return at + std::min(static_cast<std::size_t>(std::max(level, 0)), kMaxTabs);
    }
    static char* open(char* at, int level, std::string_view name) {
        at = tabs(at, level);
        *at++ = '<';
        return copy(at, name);
    }
    static char* close(char* at, std::string_view name) {
        at = copy(at, "</");
        at = copy(at, name);
        return copy(at, ">\r\n");
    }
    static char* number(char* at, std::int32_t value) {
        return std::to_chars(at, at + 11, value).ptr;
    }
    void cdata(std::wstring_view value, std::size_t maxLength);
    void attrValue(std::wstring_view value);
    void utf8(std::wstring_view text);

    Sink sink_;
    std::size_t chunkSize_ = 0;
    std::unique_ptr<char[]> data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    bool sinkFailed_ = false;
    /// How many elements are open: the indentation of the next line.
    int depth_ = 0;
    /// The room kept free for the end tags of the open elements.
    std::size_t closing_ = 0;
};
