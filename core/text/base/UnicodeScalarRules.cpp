#include "core/text/base/UnicodeScalarRules.h"

#include "core/text/base/Ascii.h"
#include "core/text/base/Utf.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <array>

namespace velquor::text {

namespace {

struct ScalarRange {
    char32_t first;
    char32_t last;
};

template <std::size_t N>
constexpr bool isMember(const std::array<char32_t, N>& set, char32_t scalar) {
    return std::find(set.begin(), set.end(), scalar) != set.end();
}

template <std::size_t N>
constexpr bool liesIn(const std::array<ScalarRange, N>& ranges, char32_t scalar) {
    return std::any_of(ranges.begin(), ranges.end(),
                       [scalar](const ScalarRange& range) { return scalar >= range.first && scalar <= range.last; });
}

constexpr std::array<char32_t, 12> bidirectionalControls{0x061C, 0x200E, 0x200F, 0x202A, 0x202B, 0x202C,
                                                         0x202D, 0x202E, 0x2066, 0x2067, 0x2068, 0x2069};
constexpr std::array<char32_t, 3> expectedBidirectionalMarks{0x061C, 0x200E, 0x200F};
constexpr std::array<char32_t, 2> joinControls{0x200C, 0x200D};
constexpr std::array<char32_t, 2> emojiVariationSelectors{0xFE0E, 0xFE0F};
constexpr std::array<char32_t, 2> khmerInherentVowels{0x17B4, 0x17B5};
constexpr std::array<char32_t, 2> hangulFillers{0x115F, 0x1160};
constexpr std::array<char32_t, 11> orthographicFormatControls{0x0600, 0x0601, 0x0602, 0x0603,  0x0604, 0x0605,
                                                              0x06DD, 0x070F, 0x08E2, 0x110BD, 0x110CD};
constexpr std::array<char32_t, 19> unusualWhitespace{0x00A0, 0x1680, 0x180E, 0x2000, 0x2001, 0x2002, 0x2003,
                                                     0x2004, 0x2005, 0x2006, 0x2007, 0x2008, 0x2009, 0x200A,
                                                     0x2028, 0x2029, 0x202F, 0x205F, 0x3000};

constexpr std::array<ScalarRange, 2> variationSelectors{{{0xFE00, 0xFE0F}, {0xE0100, 0xE01EF}}};
constexpr std::array<ScalarRange, 1> mongolianFreeVariationSelectors{{{0x180B, 0x180D}}};
constexpr std::array<ScalarRange, 1> tagCharacters{{{0xE0020, 0xE007F}}};
constexpr std::array<ScalarRange, 2> emojiBaseRanges{{{0x1F000, 0x1FAFF}, {0x2600, 0x27BF}}};
constexpr std::array<ScalarRange, 4> joiningScriptRanges{
    {{0x0590, 0x08FF}, {0x0900, 0x0D7F}, {0xFB1D, 0xFDFF}, {0xFE70, 0xFEFF}}};
constexpr std::array<ScalarRange, 3> rightToLeftScriptRanges{{{0x0590, 0x08FF}, {0xFB1D, 0xFDFF}, {0xFE70, 0xFEFF}}};
constexpr std::array<ScalarRange, 1> khmerBaseRange{{{0x1780, 0x17A2}}};
constexpr std::array<ScalarRange, 3> hangulJamoRanges{{{0x1100, 0x11FF}, {0xA960, 0xA97F}, {0xD7B0, 0xD7FF}}};
constexpr std::array<ScalarRange, 1> mongolianBlock{{{0x1800, 0x18AF}}};

// A subdivision flag: the waving black flag, two to seven tag letters or digits naming the
// region, then the cancel tag. No other tag sequence is displayed by anything.
constexpr char32_t waveBlackFlag = 0x1F3F4;
constexpr char32_t cancelTag = 0xE007F;
constexpr std::array<ScalarRange, 2> subdivisionTagSpec{{{0xE0030, 0xE0039}, {0xE0061, 0xE007A}}};
constexpr int minimumSubdivisionTags = 2;
constexpr int maximumSubdivisionTags = 7;

std::int8_t generalCategory(char32_t scalar) { return u_charType(static_cast<UChar32>(scalar)); }

bool inEmojiBase(std::optional<char32_t> scalar) { return scalar && liesIn(emojiBaseRanges, *scalar); }
bool inJoiningScript(std::optional<char32_t> scalar) { return scalar && liesIn(joiningScriptRanges, *scalar); }
bool inRightToLeftScript(std::optional<char32_t> scalar) { return scalar && liesIn(rightToLeftScriptRanges, *scalar); }
bool inHangulJamo(std::optional<char32_t> scalar) { return scalar && liesIn(hangulJamoRanges, *scalar); }
bool isSubdivisionTagSpec(std::optional<char32_t> scalar) { return scalar && liesIn(subdivisionTagSpec, *scalar); }
bool isFreeVariationSelector(char32_t scalar) { return liesIn(mongolianFreeVariationSelectors, scalar); }

// The platform's letter set: general categories L* and M*.
bool isLetterOrMark(char32_t scalar) {
    const auto mask = U_MASK(generalCategory(scalar));
    return (mask & (U_GC_L_MASK | U_GC_M_MASK)) != 0;
}

bool isKeycapBase(char32_t scalar) { return scalar == U'#' || scalar == U'*' || (scalar >= U'0' && scalar <= U'9'); }

std::size_t lengthOf(char32_t scalar) { return scalar > 0xFFFF ? 2 : 1; }

// Most text is ASCII, whose only format-or-control scalars are the C0 controls and DEL.
bool isAsciiControl(char32_t scalar) { return scalar < 0x20 || scalar == 0x7F; }

}  // namespace

bool isFormatScalar(char32_t scalar) { return !isAscii(scalar) && generalCategory(scalar) == U_FORMAT_CHAR; }

bool isControlScalar(char32_t scalar) {
    return isAscii(scalar) ? isAsciiControl(scalar) : generalCategory(scalar) == U_CONTROL_CHAR;
}

bool isPrivateUseScalar(char32_t scalar) { return !isAscii(scalar) && generalCategory(scalar) == U_PRIVATE_USE_CHAR; }

bool isDecimalDigitScalar(char32_t scalar) { return generalCategory(scalar) == U_DECIMAL_DIGIT_NUMBER; }

bool isContentScalar(char32_t scalar) {
    if (isAscii(scalar)) return !isAsciiControl(scalar);
    const auto category = generalCategory(scalar);
    return category != U_FORMAT_CHAR && category != U_CONTROL_CHAR;
}

bool isBidirectionalControl(char32_t scalar) { return isMember(bidirectionalControls, scalar); }
bool isUnusualWhitespace(char32_t scalar) { return isMember(unusualWhitespace, scalar); }
bool isVariationSelector(char32_t scalar) { return liesIn(variationSelectors, scalar); }
bool isTagCharacter(char32_t scalar) { return liesIn(tagCharacters, scalar); }

bool isContextualInvisibleScalar(char32_t scalar) {
    return isFreeVariationSelector(scalar) || isMember(khmerInherentVowels, scalar) || isMember(hangulFillers, scalar);
}

std::optional<char32_t> InvisibleScalarRules::scalarBefore(std::size_t offset) const {
    if (offset == 0) return std::nullopt;
    return velquor::text::scalarBefore(text_, offset).scalar;
}

std::optional<char32_t> InvisibleScalarRules::scalarAfter(std::size_t offset) const {
    const auto next = offset + scalarAt(text_, offset).length;
    if (next >= text_.size()) return std::nullopt;
    return scalarAt(text_, next).scalar;
}

template <class Member>
InvisibleScalarRules::ScalarRun InvisibleScalarRules::measureRun(std::size_t offset, Member member) const {
    ScalarRun run{offset, offset, std::nullopt, std::nullopt, 0};
    while (const auto previous = scalarBefore(run.start)) {
        if (!member(*previous)) {
            run.before = previous;
            break;
        }
        run.start -= lengthOf(*previous);
    }
    for (const auto& next : scalarsOf(text_, run.end)) {
        if (!member(next.scalar)) {
            run.after = next.scalar;
            break;
        }
        if (isFormatScalar(next.scalar)) ++run.formatScalars;
        run.end = next.end();
    }
    return run;
}

const InvisibleScalarRules::ScalarRun& InvisibleScalarRules::nonContentRunAt(std::size_t offset) {
    if (offset < nonContentRun_.start || offset >= nonContentRun_.end) {
        nonContentRun_ = measureRun(offset, [](char32_t scalar) { return !isContentScalar(scalar); });
    }
    return nonContentRun_;
}

const InvisibleScalarRules::ScalarRun& InvisibleScalarRules::freeVariationSelectorRunAt(std::size_t offset) {
    if (offset < freeVariationSelectorRun_.start || offset >= freeVariationSelectorRun_.end) {
        freeVariationSelectorRun_ = measureRun(offset, isFreeVariationSelector);
    }
    return freeVariationSelectorRun_;
}

bool InvisibleScalarRules::shouldPreserveInvisibleScalar(std::size_t offset) {
    const char32_t scalar = scalarAt(text_, offset).scalar;
    if (isMember(joinControls, scalar) && preservesJoinControl(scalar, offset)) return true;
    if (isMember(expectedBidirectionalMarks, scalar) && preservesBidirectionalMark(offset)) return true;
    if (isMember(emojiVariationSelectors, scalar) && offset > 0) return preservesEmojiVariationSelector(offset);
    if (isTagCharacter(scalar)) return preservesTagCharacter(scalar, offset);
    if (isFreeVariationSelector(scalar) && offset > 0) return preservesFreeVariationSelector(offset);
    if (isMember(khmerInherentVowels, scalar) && offset > 0) {
        const auto previous = scalarBefore(offset);
        return previous && liesIn(khmerBaseRange, *previous);
    }
    if (isMember(hangulFillers, scalar)) return inHangulJamo(scalarBefore(offset)) || inHangulJamo(scalarAfter(offset));
    if (isMember(orthographicFormatControls, scalar)) return preservesOrthographicFormatControl(offset);
    return false;
}

// A joiner between two content scalars it was written for, and the only format scalar there:
// a run of joiners is never what a script or an emoji sequence needs.
bool InvisibleScalarRules::preservesJoinControl(char32_t scalar, std::size_t offset) {
    const auto& run = nonContentRunAt(offset);
    if (!run.before || !run.after || run.formatScalars != 1) return false;
    if (scalar == 0x200D && (inEmojiBase(run.before) || inEmojiBase(run.after))) return true;
    return inJoiningScript(run.before) && inJoiningScript(run.after);
}

bool InvisibleScalarRules::preservesBidirectionalMark(std::size_t offset) {
    const auto& run = nonContentRunAt(offset);
    if (run.formatScalars != 1) return false;
    return inRightToLeftScript(run.before) || inRightToLeftScript(run.after);
}

bool InvisibleScalarRules::preservesEmojiVariationSelector(std::size_t offset) const {
    const auto previous = scalarBefore(offset);
    return previous && (inEmojiBase(previous) || isKeycapBase(*previous));
}

// Only a well-formed subdivision flag keeps its tags; tag characters anywhere else, after an
// emoji included, are a hidden channel.
bool InvisibleScalarRules::preservesTagCharacter(char32_t scalar, std::size_t offset) const {
    if (scalar != cancelTag && !isSubdivisionTagSpec(scalar)) return false;
    int tags = 0;
    std::size_t start = offset;
    while (tags <= maximumSubdivisionTags && isSubdivisionTagSpec(scalarBefore(start))) {
        start -= 2;
        ++tags;
    }
    if (scalarBefore(start) != std::optional<char32_t>(waveBlackFlag)) return false;
    std::size_t end = offset;
    if (scalar != cancelTag) {
        while (tags <= maximumSubdivisionTags && end < text_.size() &&
               isSubdivisionTagSpec(scalarAt(text_, end).scalar)) {
            end += 2;
            ++tags;
        }
        if (end >= text_.size() || scalarAt(text_, end).scalar != cancelTag) return false;
    }
    return tags >= minimumSubdivisionTags && tags <= maximumSubdivisionTags;
}

bool InvisibleScalarRules::preservesFreeVariationSelector(std::size_t offset) {
    const auto previous = freeVariationSelectorRunAt(offset).before;
    return previous && liesIn(mongolianBlock, *previous) && isLetterOrMark(*previous);
}

bool InvisibleScalarRules::preservesOrthographicFormatControl(std::size_t offset) {
    const auto& run = nonContentRunAt(offset);
    return inRightToLeftScript(run.before) || inRightToLeftScript(run.after);
}

}  // namespace velquor::text
