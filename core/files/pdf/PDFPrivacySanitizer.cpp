#include "core/files/pdf/PDFPrivacySanitizer.h"

#include "core/files/FileExportSafety.h"
#include "core/files/FileReportBuilder.h"
#include "core/files/FileSanitizerError.h"
#include "core/files/FileTypes.h"
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

// The report of any file read as PDF, whatever its name: a staged copy is named after its
// destination, which need not end in .pdf.
FileMetadataReport inspectPdfFile(const std::filesystem::path& file) {
    auto document = openQpdfFile(file, byteSignalLimit);
    return pdfReport(reportFileName(file), document, viewOf(document.leadingBytes));
}

// A file whose structure qpdf had to guess is refused rather than copied with whatever the
// guess missed. qpdf may rebuild the structure at any read, writing included, so the check
// comes again once everything has been read.
void writeCleanedCopy(const std::filesystem::path& source, int fd) {
    auto document = openQpdfFile(source, 0);
    try {
        if (!structureIsTrusted(document)) throwExportFailed();
        removePrivateData(document);
    } catch (const std::exception&) {
        throwExportFailed();
    }
    writePdf(*document.pdf, fd);
    if (!structureIsTrusted(document)) throwExportFailed();
}

// The copy's own report decides, and beyond it every object the copy holds, including those the
// report's page walk and byte scan do not reach.
FileExportSafety::CopyVerdict verdictOnCopy(const PDFPrivacySanitizer& inspector, const std::filesystem::path& copy) {
    auto document = openQpdfFile(copy, byteSignalLimit);
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
    return inspectPdfFile(file);
}

FileMetadataReport PDFPrivacySanitizer::inspectBytes(ByteView bytes, std::u16string fileName) {
    auto document = openQpdfBytes(bytes);
    return pdfReport(std::move(fileName), document, bytes);
}

bool PDFPrivacySanitizer::failsPrivacyVerification(const FileMetadataReport& report) const {
    return report.containsPersonalMetadata();
}

void PDFPrivacySanitizer::exportPrivacyCopy(const std::filesystem::path& source,
                                            const std::filesystem::path& destination) const {
    FileExportSafety::exportPrivacyCopy(
        destination, FileExportSafety::DescriptorWriter{[&](int fd) { writeCleanedCopy(source, fd); }},
        [&](const std::filesystem::path& copy) { return verdictOnCopy(*this, copy); });
}

}  // namespace velquor::files
