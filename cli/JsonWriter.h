#pragma once

#include <cstdint>
#include <ostream>
#include <string_view>
#include <vector>

namespace velquor::cli {

// A compact JSON writer. Strings are written as UTF-8 with every invisible, control, bidi and
// private-use scalar escaped, so that what a text hides stays visible in the output.
class JsonWriter {
public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}

    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view name);     // ASCII names of fields
    JsonWriter& key(std::u16string_view name);  // any text, such as a signal label

    JsonWriter& value(std::u16string_view text);
    JsonWriter& value(std::int64_t number);
    JsonWriter& value(bool flag);
    JsonWriter& value(double number);
    JsonWriter& nullValue();

    template <class T>
    JsonWriter& field(std::string_view name, const T& fieldValue) {
        key(name);
        return value(fieldValue);
    }

private:
    void beforeValue();

    std::ostream& out_;
    std::vector<bool> needsComma_;
    bool afterKey_ = false;
};

}  // namespace velquor::cli
