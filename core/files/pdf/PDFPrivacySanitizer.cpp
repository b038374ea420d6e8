#include "core/files/pdf/PDFPrivacySanitizer.h"

#include "core/files/FileExportSafety.h"
#include "core/files/FileReportBuilder.h"
#include "core/files/FileSanitizerError.h"
#include "core/files/FileTypes.h"
#include "core/files/pdf/PdfBudget.h"
#include "core/files/pdf/PdfInspection.h"
#include "core/files/pdf/PdfPrivacyCopy.h"
#include "core/files/pdf/QpdfDocument.h"

#include <exception>

namespace velquor::files {

namespace {

std::optional<ByteView> viewOf(const std::optional<std::vector<std::uint8_t>>& bytes) {
    if (!bytes) return std::nullopt;
    return ByteView(*bytes);
}

// Runs a step under the budget: once the budget is spent the step fails with `refusal`, whatever
// error qpdf or a report step made of that on its way up.
template <typename Step>
auto withinBudget(const PdfWorkBudget& budget, FileSanitizerError::Case refusal, Step step) {
    try {
        return step();
    } catch (const PdfBudgetExceeded&) {
        throw FileSanitizerError(refusal);
    } catch (const FileSanitizerError&) {
        if (budget.exceeded()) throw FileSanitizerError(refusal);
        throw;
    }
}

// The report of any file read as PDF, whatever its name: a staged copy is named after its
// destination, which need not end in .pdf.
FileMetadataReport inspectPdfFile(const std::filesystem::path& file, const PdfWorkBudget& budget) {
    auto document = openQpdfFile(file, byteSignalLimit, budget);
    return pdfReport(reportFileName(file), document, viewOf(document.leadingBytes));
}

// A file whose structure qpdf had to guess is refused rather than copied with whatever the
// guess missed. qpdf may rebuild the structure at any read, writing included, so the check
// comes again once everything has been read.
void writeCleanedCopy(const std::filesystem::path& source, int fd, const PdfWorkBudget& budget) {
    auto document = openQpdfFile(source, 0, budget);
    try {
        if (!structureIsTrusted(document)) throwExportFailed();
        removePrivateData(document);
    } catch (const std::exception&) {
        throwExportFailed();
    }
    writePdf(document, fd);
    if (!structureIsTrusted(document)) throwExportFailed();
}

// The copy's own report decides, and beyond it every object the copy holds, including those the
// report's page walk and byte scan do not reach.
FileExportSafety::CopyVerdict verdictOnCopy(const PDFPrivacySanitizer& inspector, const std::filesystem::path& copy,
                                            const PdfWorkBudget& budget) {
    auto document = openQpdfFile(copy, byteSignalLimit, budget);
    const auto report = pdfReport(reportFileName(copy), document, viewOf(document.leadingBytes));
    const auto verdict = FileExportSafety::verdictOn(inspector, report);
    if (verdict != FileExportSafety::CopyVerdict::passed) return verdict;
    try {
        if (keepsPrivateData(document)) return FileExportSafety::CopyVerdict::personalDataLeft;
    } catch (const std::exception&) {
        throwUnreadableFile();
    }
    return verdict;
}

}  // namespace

bool PDFPrivacySanitizer::isSupported(const std::filesystem::path& file) {
    return extensionConformsTo(file, TypeConformance::pdf) || lowercasedExtension(file) == "pdf";
}

FileMetadataReport PDFPrivacySanitizer::inspect(const std::filesystem::path& file) const {
    if (!isSupported(file)) throw FileSanitizerError(FileSanitizerError::Case::unsupportedFile);
    const PdfWorkBudget budget;
    return withinBudget(budget, FileSanitizerError::Case::unreadableFile, [&] { return inspectPdfFile(file, budget); });
}

FileMetadataReport PDFPrivacySanitizer::inspectBytes(ByteView bytes, std::u16string fileName) {
    const PdfWorkBudget budget;
    return withinBudget(budget, FileSanitizerError::Case::unreadableFile, [&] {
        auto document = openQpdfBytes(bytes, budget);
        return pdfReport(std::move(fileName), document, bytes);
    });
}

bool PDFPrivacySanitizer::failsPrivacyVerification(const FileMetadataReport& report) const {
    return report.containsPersonalMetadata();
}

void PDFPrivacySanitizer::exportPrivacyCopy(const std::filesystem::path& source,
                                            const std::filesystem::path& destination) const {
    // One budget for the copy and its verification, so that the whole export stays within it.
    const PdfWorkBudget budget;
    withinBudget(budget, FileSanitizerError::Case::exportFailed, [&] {
        FileExportSafety::exportPrivacyCopy(
            destination, FileExportSafety::DescriptorWriter{[&](int fd) { writeCleanedCopy(source, fd, budget); }},
            [&](const std::filesystem::path& copy) { return verdictOnCopy(*this, copy, budget); });
    });
}

}  // namespace velquor::files
