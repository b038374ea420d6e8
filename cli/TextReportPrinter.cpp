#include "cli/TextReportPrinter.h"

#include "cli/TerminalText.h"

#include "core/text/base/Utf.h"

#include <array>
#include <charconv>

namespace velquor::cli {

namespace {

void printCounts(std::ostream& out, const text::TextReport& report) {
    out << "Characters: " << report.characters << "   Scalars: " << report.scalars
        << "   ASCII: " << report.asciiScalars << "   Non-ASCII: " << report.nonASCIICount() << '\n';
}

constexpr std::size_t shownLocations = 5;

// "at 1, 5, 9" and how many more there are, as UTF-16 offsets.
std::string offsetsOf(const std::vector<text::TextLocation>& locations) {
    std::string shown = "at ";
    for (std::size_t i = 0; i < locations.size() && i < shownLocations; ++i) {
        if (i > 0) shown += ", ";
        shown += std::to_string(locations[i].utf16Location);
    }
    if (locations.size() > shownLocations)
        shown += " and " + std::to_string(locations.size() - shownLocations) + " more";
    return shown;
}

void printIssues(std::ostream& out, const std::vector<text::TextIssue>& issues) {
    if (issues.empty()) {
        out << "No Unicode issues.\n";
        return;
    }
    std::int64_t occurrences = 0;
    for (const auto& issue : issues) occurrences += issue.count;
    out << "Unicode issues: " << issues.size() << " (" << counted(occurrences, "occurrence", "occurrences") << ")\n";
    for (const auto& issue : issues) {
        out << "  " << text::encodeUtf8(text::rawValue(issue.kind)) << "  " << text::encodeUtf8(issue.codePoint) << "  "
            << terminalSafe(issue.scalar) << ": " << issue.count << ' ' << offsetsOf(issue.locations) << '\n';
    }
}

void printPayloads(std::ostream& out, const std::vector<text::HiddenTextPayload>& payloads) {
    if (payloads.empty()) return;
    out << "Hidden payloads: " << payloads.size() << '\n';
    for (const auto& payload : payloads) {
        out << "  " << text::encodeUtf8(text::rawValue(payload.kind)) << " ("
            << counted(payload.byteCount, "byte", "bytes") << "): " << terminalSafe(payload.decodedText) << '\n';
    }
}

void printFindings(std::ostream& out, const text::TextPrivacyReport& privacy) {
    if (!privacy.hasFindings()) {
        out << "No privacy findings.\n";
        return;
    }
    out << "Privacy findings: " << privacy.findings.size() << " ("
        << counted(privacy.highRiskCount(), "high-risk match", "high-risk matches") << ")\n";
    for (const auto& finding : privacy.findings) {
        out << "  " << text::encodeUtf8(text::rawValue(finding.severity)) << "  " << text::encodeUtf8(finding.label)
            << ": " << counted(finding.count, "match", "matches") << '\n';
        for (const auto& example : finding.examples) out << "      " << terminalSafe(example) << '\n';
        out << "      " << text::encodeUtf8(finding.rationale) << '\n';
    }
}

// One decimal and a decimal point, whatever the process locale.
std::string ratePer100Words(double rate) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), rate, std::chars_format::fixed, 1);
    return std::string(buffer.data(), result.ptr);
}

void printStyle(std::ostream& out, const text::StyleReport& style) {
    out << "Style score: " << style.score << " (" << text::encodeUtf8(text::rawValue(style.level)) << "), "
        << counted(style.wordCount, "word", "words") << '\n';
    if (!style.hasSignals()) {
        out << "No strong default-LLM style signals found.\n";
        return;
    }
    for (const auto& signal : style.signals) {
        out << "  " << text::encodeUtf8(signal.label) << ": " << signal.count << " ("
            << ratePer100Words(signal.ratePer100Words) << " / 100w)\n";
        for (const auto& example : signal.examples) out << "      " << terminalSafe(example) << '\n';
    }
    out << "These patterns can make writing sound templated; they do not prove AI authorship.\n";
}

void printTimedOutScans(std::ostream& out, const std::vector<std::u16string>& scans) {
    if (scans.empty()) return;
    out << "\nWarning: these scans ran out of time, so their results may be incomplete:\n";
    for (const auto& scan : scans) out << "  " << text::encodeUtf8(scan) << '\n';
}

}  // namespace

void printTextReport(std::ostream& out, const text::TextReport& report, TextReportSections sections) {
    printCounts(out, report);
    if (sections.unicode) {
        out << '\n';
        printIssues(out, report.issues);
        printPayloads(out, report.hiddenPayloads);
    }
    if (sections.style) {
        out << '\n';
        printStyle(out, report.styleReport);
    }
    if (sections.privacy) {
        out << '\n';
        printFindings(out, report.privacyReport);
    }
    printTimedOutScans(out, report.timedOutScans);
}

}  // namespace velquor::cli
