#include "cli/JsonReader.h"

#include "core/text/base/Utf.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace velquor::cli {

namespace {

bool isDigit(char16_t unit) { return unit >= u'0' && unit <= u'9'; }

using text::isLeadSurrogate;
using text::isSurrogate;
using text::isTrailSurrogate;

class Parser {
public:
    Parser(std::u16string_view text, JsonLimits limits) : text_(text), limits_(limits) {}

    JsonValue document() {
        if (text_.size() > limits_.maximumLength) {
            throw JsonSyntaxError("the document is longer than " + std::to_string(limits_.maximumLength) +
                                  " characters");
        }
        if (!text_.empty() && text_.front() == u'\uFEFF') ++position_;
        auto value = parsedValue(0);
        skipWhitespace();
        if (position_ != text_.size()) fail("unexpected text after the value");
        return value;
    }

private:
    [[noreturn]] void fail(const std::string& reason) const {
        const auto before = text_.substr(0, std::min(position_, text_.size()));
        const auto line = 1 + std::count(before.begin(), before.end(), u'\n');
        const auto lineStart = before.rfind(u'\n');
        const auto column = lineStart == std::u16string_view::npos ? before.size() + 1 : before.size() - lineStart;
        throw JsonSyntaxError(reason + " at line " + std::to_string(line) + ", column " + std::to_string(column));
    }

    bool atEnd() const { return position_ >= text_.size(); }
    // At the end this is NUL, which no caller looks for, so comparing it needs no end check.
    char16_t peek() const { return atEnd() ? u'\0' : text_[position_]; }

    void skipWhitespace() {
        while (!atEnd() && (peek() == u' ' || peek() == u'\t' || peek() == u'\n' || peek() == u'\r')) ++position_;
    }

    void expect(char16_t unit, const char* what) {
        if (peek() != unit) fail(std::string("expected ") + what);
        ++position_;
    }

    void expectWord(std::u16string_view word) {
        if (text_.substr(position_, word.size()) != word) fail("expected a JSON value");
        position_ += word.size();
    }

    JsonValue parsedValue(std::size_t depth) {
        skipWhitespace();
        if (atEnd()) fail("expected a JSON value");
        JsonValue value;
        switch (peek()) {
            case u'{':
                return parsedObject(depth + 1);
            case u'[':
                return parsedArray(depth + 1);
            case u'"':
                value.type = JsonValue::Type::string;
                value.string = parsedString();
                return value;
            case u't':
                expectWord(u"true");
                value.type = JsonValue::Type::boolean;
                value.boolean = true;
                return value;
            case u'f':
                expectWord(u"false");
                value.type = JsonValue::Type::boolean;
                return value;
            case u'n':
                expectWord(u"null");
                return value;
            default:
                value.type = JsonValue::Type::number;
                value.number = parsedNumber();
                return value;
        }
    }

    void checkDepth(std::size_t depth) const {
        if (depth > limits_.maximumDepth) fail("arrays and objects are nested too deeply");
    }

    JsonValue parsedObject(std::size_t depth) {
        checkDepth(depth);
        ++position_;
        JsonValue value;
        value.type = JsonValue::Type::object;
        skipWhitespace();
        if (peek() == u'}') {
            ++position_;
            return value;
        }
        for (;;) {
            skipWhitespace();
            if (peek() != u'"') fail("expected a key in double quotes");
            const auto keyPosition = position_;
            auto key = parsedString();
            const bool repeated = std::any_of(value.object.begin(), value.object.end(),
                                              [&](const auto& member) { return member.key == key; });
            if (repeated) {
                position_ = keyPosition;
                fail("the key appears twice");
            }
            skipWhitespace();
            expect(u':', "':' after the key");
            auto member = parsedValue(depth);
            value.object.push_back({std::move(key), std::move(member)});
            skipWhitespace();
            if (peek() == u',') {
                ++position_;
                continue;
            }
            expect(u'}', "',' or '}'");
            return value;
        }
    }

    JsonValue parsedArray(std::size_t depth) {
        checkDepth(depth);
        ++position_;
        JsonValue value;
        value.type = JsonValue::Type::array;
        skipWhitespace();
        if (peek() == u']') {
            ++position_;
            return value;
        }
        for (;;) {
            value.array.push_back(parsedValue(depth));
            skipWhitespace();
            if (peek() == u',') {
                ++position_;
                continue;
            }
            expect(u']', "',' or ']'");
            return value;
        }
    }

    char32_t parsedHexUnit() {
        if (position_ + 4 > text_.size()) fail("expected four hexadecimal digits after \\u");
        char32_t unit = 0;
        for (int i = 0; i < 4; ++i) {
            const auto digit = text_[position_++];
            unit <<= 4;
            if (digit >= u'0' && digit <= u'9') {
                unit |= digit - u'0';
            } else if (digit >= u'a' && digit <= u'f') {
                unit |= digit - u'a' + 10;
            } else if (digit >= u'A' && digit <= u'F') {
                unit |= digit - u'A' + 10;
            } else {
                --position_;
                fail("expected four hexadecimal digits after \\u");
            }
        }
        return unit;
    }

    void appendEscape(std::u16string& string) {
        const auto escape = peek();
        ++position_;
        switch (escape) {
            case u'"':
                string += u'"';
                return;
            case u'\\':
                string += u'\\';
                return;
            case u'/':
                string += u'/';
                return;
            case u'b':
                string += u'\b';
                return;
            case u'f':
                string += u'\f';
                return;
            case u'n':
                string += u'\n';
                return;
            case u'r':
                string += u'\r';
                return;
            case u't':
                string += u'\t';
                return;
            case u'u':
                break;
            default:
                --position_;
                fail("unknown escape in a string");
        }
        const auto unit = parsedHexUnit();
        if (!isSurrogate(unit)) {
            string += static_cast<char16_t>(unit);
            return;
        }
        if (!isLeadSurrogate(unit) || text_.substr(position_, 2) != u"\\u") fail("unpaired surrogate in a string");
        position_ += 2;
        const auto trailing = parsedHexUnit();
        if (!isTrailSurrogate(trailing)) fail("unpaired surrogate in a string");
        string += static_cast<char16_t>(unit);
        string += static_cast<char16_t>(trailing);
    }

    std::u16string parsedString() {
        ++position_;
        std::u16string string;
        for (;;) {
            if (atEnd()) fail("unterminated string");
            const auto unit = text_[position_];
            if (unit == u'"') {
                ++position_;
                return string;
            }
            if (unit < 0x20) fail("control character in a string");
            if (unit == u'\\') {
                ++position_;
                appendEscape(string);
                continue;
            }
            if (isLeadSurrogate(unit) && position_ + 1 < text_.size() && isTrailSurrogate(text_[position_ + 1])) {
                string += text_.substr(position_, 2);
                position_ += 2;
                continue;
            }
            if (isSurrogate(unit)) fail("unpaired surrogate in a string");
            string += unit;
            ++position_;
        }
    }

    void digits() {
        if (!isDigit(peek())) fail("expected a digit");
        while (!atEnd() && isDigit(peek())) ++position_;
    }

    // -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
    std::string parsedNumber() {
        const auto start = position_;
        if (peek() == u'-') ++position_;
        if (peek() == u'0') {
            ++position_;
        } else if (!isDigit(peek())) {
            fail("expected a JSON value");
        } else {
            digits();
        }
        if (peek() == u'.') {
            ++position_;
            digits();
        }
        if ((peek() == u'e' || peek() == u'E')) {
            ++position_;
            if (peek() == u'+' || peek() == u'-') ++position_;
            digits();
        }
        return {text_.begin() + static_cast<std::ptrdiff_t>(start),
                text_.begin() + static_cast<std::ptrdiff_t>(position_)};
    }

    std::u16string_view text_;
    JsonLimits limits_;
    std::size_t position_ = 0;
};

}  // namespace

std::optional<std::int64_t> JsonValue::integer() const {
    if (type != Type::number || number.find_first_of(".eE") != std::string::npos) return std::nullopt;
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || end != number.data() + number.size()) return std::nullopt;
    return value;
}

std::optional<double> JsonValue::finiteNumber() const {
    if (type != Type::number) return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || end != number.data() + number.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

JsonValue parseJson(std::u16string_view text, JsonLimits limits) { return Parser(text, limits).document(); }

}  // namespace velquor::cli
