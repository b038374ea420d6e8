#include "core/text/inspection/UnicodeInspection.h"

#include "core/text/base/Ascii.h"
#include "core/text/base/Utf.h"
#include "core/text/base/Whitespace.h"

#include <algorithm>
#include <unordered_map>

namespace velquor::text {

std::optional<TextIssue::Kind> issueKind(char32_t scalar, InvisibleScalarRules& rules, std::size_t offset) {
    using Kind = TextIssue::Kind;
    if (isPrivateUseScalar(scalar)) return Kind::privateUse;
    if (rules.shouldPreserveInvisibleScalar(offset)) return std::nullopt;
    if (isBidirectionalControl(scalar)) return Kind::bidirectionalControl;
    if (isVariationSelector(scalar) || isContextualInvisibleScalar(scalar) || isFormatScalar(scalar)) {
        return Kind::invisible;
    }
    if (isUnusualWhitespace(scalar)) return Kind::unusualWhitespace;
    if (isAscii(scalar)) return std::nullopt;
    return Kind::nonASCII;
}

std::u16string printableScalar(char32_t scalar) {
    if (isVariationSelector(scalar)) return u"variation selector";
    if (isFormatScalar(scalar)) return u"invisible";
    if (isControlScalar(scalar)) return u"control";
    if (isWhitespaceOrNewline(scalar)) return u"space";
    std::u16string text;
    appendScalar(text, scalar);
    return text;
}

namespace {

// The issue's identity: a scalar always has the same kind wherever it is reported.
std::uint64_t bucketKey(TextIssue::Kind kind, char32_t scalar) {
    return (static_cast<std::uint64_t>(kind) << 32) | static_cast<std::uint64_t>(scalar);
}

struct IssueBucket {
    TextIssue::Kind kind;
    char32_t scalar;
    std::vector<TextLocation> locations;
};

bool sortsBefore(const TextIssue& a, const TextIssue& b) {
    const auto kindA = rawValue(a.kind);
    const auto kindB = rawValue(b.kind);
    if (kindA != kindB) return kindA < kindB;
    return a.codePoint < b.codePoint;
}

}  // namespace

std::vector<TextIssue> unicodeIssues(std::u16string_view text) {
    InvisibleScalarRules rules(text);
    std::vector<IssueBucket> buckets;
    std::unordered_map<std::uint64_t, std::size_t> bucketIndex;
    for (const auto& [scalar, offset, length] : scalarsOf(text)) {
        // ASCII, control characters included, is never an issue.
        if (isAscii(scalar)) continue;
        if (const auto kind = issueKind(scalar, rules, offset)) {
            const auto [entry, created] = bucketIndex.try_emplace(bucketKey(*kind, scalar), buckets.size());
            if (created) buckets.push_back({*kind, scalar, {}});
            buckets[entry->second].locations.push_back(
                {static_cast<std::int64_t>(offset), static_cast<std::int64_t>(length)});
        }
    }

    std::vector<TextIssue> issues;
    issues.reserve(buckets.size());
    for (auto& bucket : buckets) {
        const auto count = static_cast<std::int64_t>(bucket.locations.size());
        issues.emplace_back(bucket.kind, printableScalar(bucket.scalar), codePointText(bucket.scalar), count,
                            std::move(bucket.locations));
    }
    std::stable_sort(issues.begin(), issues.end(), sortsBefore);
    return issues;
}

}  // namespace velquor::text
