#include "cli/JsonWriter.h"

#include "cli/TerminalText.h"

#include "core/text/base/Utf.h"

#include <array>
#include <charconv>
#include <cmath>

namespace velquor::cli {

namespace {

void writeEscapedUnit(std::ostream& out, char16_t unit) {
    static constexpr char digits[] = "0123456789abcdef";
    out << "\\u" << digits[(unit >> 12) & 0xF] << digits[(unit >> 8) & 0xF] << digits[(unit >> 4) & 0xF]
        << digits[unit & 0xF];
}

void writeString(std::ostream& out, std::u16string_view text) {
    out << '"';
    for (const auto& [scalar, offset, length] : text::scalarsOf(text)) {
        const auto units = text.substr(offset, length);
        switch (scalar) {
            case U'"':
                out << "\\\"";
                continue;
            case U'\\':
                out << "\\\\";
                continue;
            case U'\n':
                out << "\\n";
                continue;
            case U'\r':
                out << "\\r";
                continue;
            case U'\t':
                out << "\\t";
                continue;
            default:
                break;
        }
        if (isHiddenFromReaders(scalar)) {
            for (const char16_t unit : units) writeEscapedUnit(out, unit);
        } else {
            out << text::encodeUtf8(units);
        }
    }
    out << '"';
}

}  // namespace

void JsonWriter::beforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!needsComma_.empty()) {
        if (needsComma_.back()) out_ << ',';
        needsComma_.back() = true;
    }
}

JsonWriter& JsonWriter::beginObject() {
    beforeValue();
    out_ << '{';
    needsComma_.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    needsComma_.pop_back();
    out_ << '}';
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    beforeValue();
    out_ << '[';
    needsComma_.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    needsComma_.pop_back();
    out_ << ']';
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) { return key(std::u16string(name.begin(), name.end())); }

JsonWriter& JsonWriter::key(std::u16string_view name) {
    beforeValue();
    writeString(out_, name);
    out_ << ':';
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::value(std::u16string_view text) {
    beforeValue();
    writeString(out_, text);
    return *this;
}

JsonWriter& JsonWriter::value(std::int64_t number) {
    beforeValue();
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), number);
    out_.write(buffer.data(), result.ptr - buffer.data());
    return *this;
}

JsonWriter& JsonWriter::value(bool flag) {
    beforeValue();
    out_ << (flag ? "true" : "false");
    return *this;
}

JsonWriter& JsonWriter::nullValue() {
    beforeValue();
    out_ << "null";
    return *this;
}

JsonWriter& JsonWriter::value(double number) {
    beforeValue();
    if (!std::isfinite(number)) {
        out_ << "null";
        return *this;
    }
    // Shortest round-trip form, independent of the locale.
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), number);
    out_.write(buffer.data(), result.ptr - buffer.data());
    return *this;
}

}  // namespace velquor::cli
