#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace velquor::cli {

struct JsonMember;

// One JSON value. Numbers keep their literal text, so that integers and doubles are each read
// exactly; object members keep the document's order.
struct JsonValue {
    enum class Type { null, boolean, number, string, array, object };

    Type type = Type::null;
    bool boolean = false;
    std::string number;
    std::u16string string;
    std::vector<JsonValue> array;
    std::vector<JsonMember> object;

    // A number written without fraction or exponent that fits in 64 bits.
    std::optional<std::int64_t> integer() const;
    // Any number, as the nearest double; nothing for one too large to be finite.
    std::optional<double> finiteNumber() const;
};

struct JsonMember {
    std::u16string key;
    JsonValue value;
};

// Where and why a document is not the JSON this reader accepts; what() is worded for the user.
class JsonSyntaxError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct JsonLimits {
    std::size_t maximumLength = 1 << 20;  // UTF-16 code units
    std::size_t maximumDepth = 32;        // nested arrays and objects
};

// Strict JSON (RFC 8259): one value with nothing but white space around it, no comments, no
// trailing commas, no duplicate keys in an object, no unpaired surrogates. A leading byte-order
// mark is allowed, as editors write one. Throws JsonSyntaxError.
JsonValue parseJson(std::u16string_view text, JsonLimits limits = {});

}  // namespace velquor::cli
