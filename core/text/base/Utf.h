#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace velquor::text {

// UTF-8 exists only at the edges (files, terminals); inside the engine text is UTF-16.

// Strict UTF-8 to UTF-16: no overlong forms, no surrogates, nothing above U+10FFFF. A byte-order
// mark is kept as U+FEFF so that inspection can report it.
std::optional<std::u16string> decodeUtf8(std::span<const std::uint8_t> bytes);
std::optional<std::u16string> decodeUtf8(std::string_view bytes);

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string encodeUtf8(std::u16string_view text);

// The number of bytes encodeUtf8 would produce, without producing them.
std::int64_t utf8ByteCount(std::u16string_view text);

// The two halves of a surrogate pair, as code units (or as the scalars an unpaired one reads as).
constexpr bool isLeadSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
constexpr bool isTrailSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
constexpr bool isSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

// A scalar and its length in code units (1 or 2). An unpaired surrogate is returned as itself
// with length 1, so every walk over a text moves on and covers every unit.
struct ScalarAt {
    char32_t scalar;
    std::size_t length;
};

// The scalar that starts at `index`, which must lie inside the text.
inline ScalarAt scalarAt(std::u16string_view text, std::size_t index) {
    const char16_t unit = text[index];
    if (isLeadSurrogate(unit) && index + 1 < text.size() && isTrailSurrogate(text[index + 1])) {
        return {0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(text[index + 1]) - 0xDC00), 2};
    }
    return {unit, 1};
}

// The scalar that ends at `end`, which must be greater than 0.
inline ScalarAt scalarBefore(std::u16string_view text, std::size_t end) {
    if (end >= 2 && isTrailSurrogate(text[end - 1]) && isLeadSurrogate(text[end - 2])) return scalarAt(text, end - 2);
    return {text[end - 1], 1};
}

void appendScalar(std::u16string& text, char32_t scalar);

// One scalar of a text and the code units it takes there.
struct TextScalar {
    char32_t scalar = 0;
    std::size_t offset = 0;
    std::size_t length = 0;

    std::size_t end() const { return offset + length; }
};

// The scalars of a text in order, each decoded once:
//     for (const auto [scalar, offset, length] : scalarsOf(text)) ...
class ScalarSequence {
public:
    class Iterator {
    public:
        using iterator_concept = std::input_iterator_tag;
        using value_type = TextScalar;
        using difference_type = std::ptrdiff_t;

        Iterator() = default;
        Iterator(std::u16string_view text, std::size_t offset) : text_(text) { decodeAt(offset); }

        const TextScalar& operator*() const { return current_; }
        const TextScalar* operator->() const { return &current_; }
        Iterator& operator++() {
            decodeAt(current_.end());
            return *this;
        }
        Iterator operator++(int) {
            auto before = *this;
            ++*this;
            return before;
        }
        friend bool operator==(const Iterator& iterator, std::default_sentinel_t) {
            return iterator.current_.offset >= iterator.text_.size();
        }

    private:
        void decodeAt(std::size_t offset) {
            current_.offset = offset;
            if (offset >= text_.size()) return;
            const auto [scalar, length] = scalarAt(text_, offset);
            current_.scalar = scalar;
            current_.length = length;
        }

        std::u16string_view text_;
        TextScalar current_;
    };

    ScalarSequence(std::u16string_view text, std::size_t from) : text_(text), from_(from) {}

    Iterator begin() const { return {text_, from_}; }
    std::default_sentinel_t end() const { return {}; }

private:
    std::u16string_view text_;
    std::size_t from_;
};

// The scalars from `from`, a scalar boundary, to the end of the text.
inline ScalarSequence scalarsOf(std::u16string_view text, std::size_t from = 0) { return {text, from}; }

// Where the run of scalars that pass the test, starting at `from`, ends: `from` itself when the
// scalar there fails it.
template <class Test>
std::size_t scalarRunEnd(std::u16string_view text, std::size_t from, Test test) {
    for (const auto& [scalar, offset, length] : scalarsOf(text, from)) {
        if (!test(scalar)) return offset;
    }
    return text.size();
}

}  // namespace velquor::text
