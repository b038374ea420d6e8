#include "core/files/svg/SvgScan.h"

#include "core/files/FileSanitizerError.h"

#include <vector>

namespace velquor::files {

namespace {

constexpr text::RegexOptions detectionOptions{.caseInsensitive = true, .dotMatchesLineSeparators = true};
constexpr text::RegexOptions cleaningOptions{.caseInsensitive = true};

std::optional<text::StartPruning> pruningOf(const SvgPattern& pattern, text::RegexOptions options) {
    if (pattern.candidateStart.empty()) return std::nullopt;
    auto candidateStart = text::Regex::compile(pattern.candidateStart, options);
    auto ruledOutSpan = text::Regex::compile(pattern.ruledOutSpan, options);
    if (!candidateStart || !ruledOutSpan) return std::nullopt;
    return text::StartPruning{std::move(*candidateStart), std::move(*ruledOutSpan)};
}

[[noreturn]] void throwUnfinishedScan() { throw FileSanitizerError(FileSanitizerError::Case::unreadableFile); }

text::RegexScan finishedScan(const CompiledSvgPattern& pattern, std::u16string_view text) {
    auto scan = pattern.scan(text);
    if (!scan.complete) throwUnfinishedScan();
    return scan;
}

const std::vector<CompiledSvgPattern>& compiledDetectionPatterns() {
    static const std::vector<CompiledSvgPattern> patterns = [] {
        std::vector<CompiledSvgPattern> compiled;
        for (const auto& row : svgDetectionRows()) compiled.emplace_back(row.pattern, detectionOptions);
        return compiled;
    }();
    return patterns;
}

const std::vector<CompiledSvgPattern>& compiledCleaningPatterns() {
    static const std::vector<CompiledSvgPattern> patterns = [] {
        std::vector<CompiledSvgPattern> compiled;
        for (const auto& row : svgCleaningRows()) compiled.emplace_back(row.pattern, cleaningOptions);
        return compiled;
    }();
    return patterns;
}

// The text with every match replaced by the literal replacement.
std::u16string replacedMatches(std::u16string_view text, const text::RegexScan& scan, std::u16string_view replacement) {
    std::u16string result;
    result.reserve(text.size());
    std::size_t copied = 0;
    for (const auto& match : scan.matches) {
        const auto start = static_cast<std::size_t>(match.range.utf16Location);
        result.append(text.substr(copied, start - copied));
        result.append(replacement);
        copied = static_cast<std::size_t>(match.range.end());
    }
    result.append(text.substr(copied));
    return result;
}

}  // namespace

CompiledSvgPattern::CompiledSvgPattern(const SvgPattern& pattern, text::RegexOptions options)
    : regex_(text::Regex::compile(pattern.patternToScan(), options)), pruning_(pruningOf(pattern, options)) {}

text::RegexScan CompiledSvgPattern::scan(std::u16string_view text) const {
    if (!regex_) return {};
    return pruning_ ? text::prunedMatches(*regex_, text, *pruning_) : regex_->allMatches(text);
}

std::vector<SvgRowCount> svgDetectionCounts(std::u16string_view text) {
    std::vector<SvgRowCount> counts;
    const auto& rows = svgDetectionRows();
    const auto& patterns = compiledDetectionPatterns();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        counts.push_back({rows[i].section, rows[i].name, finishedScan(patterns[i], text).matches.size()});
    }
    return counts;
}

std::u16string svgAfterReplacements(std::u16string_view text) {
    std::u16string result(text);
    const auto& rows = svgCleaningRows();
    const auto& patterns = compiledCleaningPatterns();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        result = replacedMatches(result, finishedScan(patterns[i], result), rows[i].replacement);
    }
    return result;
}

bool containsSvgRoot(std::u16string_view text) {
    static const auto root = text::Regex::compile(svgRootPattern, cleaningOptions);
    if (!root) return false;
    text::RegexCursor cursor(*root, text);
    const bool found = cursor.findFrom(0).has_value();
    if (cursor.exhausted()) throwUnfinishedScan();
    return found;
}

}  // namespace velquor::files
