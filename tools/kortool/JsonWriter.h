// A small writer of JSON text, for the summaries scripts read.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kortool {

/// Writes one JSON value on a single line: objects, arrays, strings, numbers and booleans. Keys
/// and values go in the order given; the writer puts the commas and escapes every string, so the
/// text stays valid whatever the strings hold (they must be UTF-8).
class JsonWriter {
public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    /// The key of the next value of the open object.
    JsonWriter& key(std::string_view name);
    JsonWriter& string(std::string_view text);
    JsonWriter& integer(std::int64_t value);
    /// A number with `decimals` digits after the point; null when it is not finite.
    JsonWriter& number(double value, int decimals);
    JsonWriter& boolean(bool value);

    /// The text written so far.
    const std::string& text() const { return out_; }

private:
    void beforeValue();
    void open(char bracket);
    void close(char bracket);

    std::string out_;
    std::vector<bool> empty_; ///< per open object or array: nothing written in it yet
    bool afterKey_ = false;
};

} // namespace kortool
