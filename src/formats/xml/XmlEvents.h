// Element starts, ends and character data kept so that a run of them is handled at once.
#pragma once

#include "formats/xml/XmlTag.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/// The events of a document as the XML reader reports them, with copies of their text, kept until
/// they are handed on in order. The reader and the song builder each run through much code per
/// element; taking turns element by element, each pushes the other's code out of the processor's
/// instruction cache. Handing the builder a few thousand events at a time keeps each one's code
/// in the cache while it runs, which takes about a tenth off a load.
class CZRXmlEventBuffer {
public:
    /// Events, and characters of their names, attributes and texts, kept before the buffer asks
    /// to be handed on. The characters are bounded too, as a document may give many elements
    /// attribute values of any length.
    static constexpr std::size_t kCapacity = 4096;
    static constexpr std::size_t kTextCapacity = std::size_t{1} << 16;

    /// A buffer that asks to be handed on after `capacity` events (1: after every event).
    explicit CZRXmlEventBuffer(std::size_t capacity = kCapacity)
        : capacity_(capacity) {}

    /// Keeps the start of the element `name` whose `attributeCount` attributes follow by
    /// addAttribute.
    void addStart(std::u16string_view name, std::size_t attributeCount) {
        add(Kind::Start, name, attributeCount);
    }
    void addAttribute(std::u16string_view name, std::u16string_view value) {
        add(Kind::AttributeName, name, 0);
        add(Kind::AttributeValue, value, 0);
    }
    void addEnd() { add(Kind::End, {}, 0); }
    void addText(std::u16string_view text) { add(Kind::Text, text, 0); }

    bool full() const { return events_.size() >= capacity_ || text_.size() >= kTextCapacity; }
    /// Forgets the events kept.
    void clear() {
        events_.clear();
        text_.clear();
    }

    /// Hands the events in order to `handler`, as handler.start(const ZRXmlStartTag&),
    /// handler.end() and handler.text(std::u16string_view), then forgets them. Should the handler
    /// throw, the events not yet handed on are forgotten too.
    template <class Handler> void handOn(Handler& handler) {
        struct Forget {
            CZRXmlEventBuffer& buffer;
            ~Forget() { buffer.clear(); }
        } forget{*this};
        for (std::size_t at = 0; at < events_.size(); ++at) {
            const Event& event = events_[at];
            switch (event.kind) {
            case Kind::Start:
                attributes_.resize(event.count);
                for (ZRXmlStartTag::Attribute& attribute : attributes_) {
                    attribute.first = textOf(events_[++at]);
                    attribute.second = textOf(events_[++at]);
                }
                handler.start(ZRXmlStartTag{textOf(event), attributes_});
                break;
            case Kind::End:
                handler.end();
                break;
            case Kind::Text:
                handler.text(textOf(event));
                break;
            case Kind::AttributeName:
            case Kind::AttributeValue:
                break; // read with their start
            }
        }
    }

private:
    enum class Kind : std::uint8_t { Start, AttributeName, AttributeValue, End, Text };
    struct Event {
        Kind kind;
        std::uint32_t count; // attributes of a start
        std::size_t offset;  // of the event's text in text_
        std::size_t length;
    };

    void add(Kind kind, std::u16string_view text, std::size_t count) {
        events_.push_back(
            Event{kind, static_cast<std::uint32_t>(count), text_.size(), text.size()});
        text_.append(text);
    }
    std::u16string_view textOf(const Event& event) const {
        return {text_.data() + event.offset, event.length};
    }

    std::size_t capacity_;
    std::vector<Event> events_;
    std::u16string text_;
    std::vector<ZRXmlStartTag::Attribute> attributes_;
};
