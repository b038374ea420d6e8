#include "TextReportPrinter.h"

#include "TerminalText.h"

#include <text/Utf.h>

#include <array>
#include <cstdio>

namespace velquor::cli {

namespace {

std::string counted(std::int64_t count, std::string_view singular, std::string_view plural) {
    return std::to_string(count) + " " + std::string(count == 1 ? singular : plural);
}

void printCounts(std::ostream& out, const text::TextReport& report) {
    out << "Characters: " << report.characters << "   Scalars: " << report.scalars
        << "   ASCII: " << report.asciiScalars << "   Non-ASCII: " << report.nonASCIICount() << '\n';
}

void printFindings(std::ostream& out, const text::TextPrivacyReport& privacy) {
    if (!privacy.hasFindings()) {
        out << "No privacy findings.\n";
        return;
    }
    out << "Privacy findings: " << privacy.findings.size() << " (" << counted(privacy.highRiskCount(), "high-risk match", "high-risk matches")
        << ")\n";
    for (const auto& finding : privacy.findings) {
        out << "  " << text::encodeUtf8(text::rawValue(finding.severity)) << "  " << text::encodeUtf8(finding.label)
            << ": " << counted(finding.count, "match", "matches") << '\n';
        for (const auto& example : finding.examples) out << "      " << terminalSafe(example) << '\n';
        out << "      " << text::encodeUtf8(finding.rationale) << '\n';
    }
}

std::string ratePer100Words(double rate) {
    std::array<char, 32> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%.1f", rate);
    return buffer.data();
}

void printStyle(std::ostream& out, const text::StyleReport& style) {
    out << "Style score: " << style.score << " (" << text::encodeUtf8(text::rawValue(style.level)) << "), "
        << counted(style.wordCount, "word", "words") << '\n';
    if (!style.hasSignals()) {
        out << "No strong default-LLM style signals found.\n";
        return;
    }
    for (const auto& signal : style.signals) {
        out << "  " << text::encodeUtf8(signal.label) << ": " << signal.count << " (" << ratePer100Words(signal.ratePer100Words)
            << " / 100w)\n";
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

void printTextReport(std::ostream& out, const text::TextReport& report) {
    printCounts(out, report);
    out << '\n';
    printStyle(out, report.styleReport);
    out << '\n';
    printFindings(out, report.privacyReport);
    printTimedOutScans(out, report.timedOutScans);
}

}  // namespace velquor::cli
