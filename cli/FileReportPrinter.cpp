#include "cli/FileReportPrinter.h"

#include "cli/TerminalText.h"

#include "core/text/base/ByteCountFormat.h"

namespace velquor::cli {

namespace {

void printSummary(std::ostream& out, const files::FileMetadataReport& report) {
    out << "File: " << terminalSafe(report.fileName) << '\n'
        << "Type: " << terminalSafe(report.typeDescription) << '\n'
        << "Size: " << text::formattedByteCount(report.byteCount) << '\n';
    if (report.pixelSize) out << "Pixels: " << terminalSafe(*report.pixelSize) << '\n';
    if (report.containsPersonalMetadata()) {
        out << "Personal metadata: yes" << (report.containsLocation() ? ", including a location" : "") << '\n';
    } else {
        out << "Personal metadata: none found\n";
    }
}

void printProvenance(std::ostream& out, const files::FileMetadataReport& report) {
    for (const auto& evidence : report.provenanceEvidence) {
        out << '\n'
            << terminalSafe(evidence.label) << " (" << terminalSafe(files::rawValue(evidence.confidence))
            << "): " << terminalSafe(evidence.detail) << '\n';
        if (evidence.blocksExport) out << "This file stays inspect-only: no privacy copy is written.\n";
    }
}

void printEntries(std::ostream& out, const files::FileMetadataReport& report) {
    const std::u16string* section = nullptr;
    for (const auto& entry : report.entries) {
        if (section == nullptr || *section != entry.section) {
            section = &entry.section;
            out << '\n' << terminalSafe(entry.section) << '\n';
        }
        out << "  " << terminalSafe(entry.name) << ": " << terminalSafe(entry.value) << '\n';
    }
    if (report.entries.empty()) out << "\nNo metadata entries.\n";
}

}  // namespace

void printFileReport(std::ostream& out, const files::FileMetadataReport& report) {
    printSummary(out, report);
    printProvenance(out, report);
    printEntries(out, report);
}

}  // namespace velquor::cli
