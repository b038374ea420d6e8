#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace velquor::text {

// The fixed scalar sets and ranges that decide which invisible scalars a script or an emoji
// needs. Inspection, payload decoding, cleaning and the change review all ask the same
// questions through InvisibleScalarRules, so a scalar is spared or flagged the same way
// everywhere.

bool isFormatScalar(char32_t scalar);        // general category Cf
bool isControlScalar(char32_t scalar);       // general category Cc
bool isPrivateUseScalar(char32_t scalar);    // general category Co
bool isDecimalDigitScalar(char32_t scalar);  // general category Nd: what ICU's \d matches
bool isContentScalar(char32_t scalar);       // neither format nor control: letters, marks, spaces...

bool isBidirectionalControl(char32_t scalar);
bool isUnusualWhitespace(char32_t scalar);
bool isVariationSelector(char32_t scalar);  // U+FE00-U+FE0F and U+E0100-U+E01EF
bool isTagCharacter(char32_t scalar);       // U+E0020-U+E007F

// Mongolian free variation selectors, Khmer inherent vowels and Hangul fillers: legitimate
// only next to specific letters.
bool isContextualInvisibleScalar(char32_t scalar);

// The preservation rules over one text, which must outlive this object. Scalars are addressed
// by the UTF-16 offset where they start. Queries are cheapest in text order: a run of format
// and control scalars is measured once however many of its members are asked about, so a
// sequential pass stays linear even over hostile runs of millions of joiners.
class InvisibleScalarRules {
public:
    explicit InvisibleScalarRules(std::u16string_view text) : text_(text) {}

    // Whether the scalar at `offset` is an invisible scalar that its script or emoji needs.
    bool shouldPreserveInvisibleScalar(std::size_t offset);

private:
    // A maximal run of scalars of one class, with the scalars just outside it. For the run of
    // non-content scalars (format and control) these are the nearest content scalars, white space
    // and marks included.
    struct ScalarRun {
        std::size_t start = 0;
        std::size_t end = 0;
        std::optional<char32_t> before;
        std::optional<char32_t> after;
        std::int64_t formatScalars = 0;
    };

    const ScalarRun& nonContentRunAt(std::size_t offset);
    const ScalarRun& freeVariationSelectorRunAt(std::size_t offset);
    template <class Member>
    ScalarRun measureRun(std::size_t offset, Member member) const;

    bool preservesJoinControl(char32_t scalar, std::size_t offset);
    bool preservesBidirectionalMark(std::size_t offset);
    bool preservesEmojiVariationSelector(std::size_t offset) const;
    bool preservesTagCharacter(char32_t scalar, std::size_t offset) const;
    bool preservesFreeVariationSelector(std::size_t offset);
    bool preservesOrthographicFormatControl(std::size_t offset);

    std::optional<char32_t> scalarBefore(std::size_t offset) const;
    std::optional<char32_t> scalarAfter(std::size_t offset) const;

    std::u16string_view text_;
    ScalarRun nonContentRun_;
    ScalarRun freeVariationSelectorRun_;
};

}  // namespace velquor::text
