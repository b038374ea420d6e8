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
    return pdfReport(reportFileName(file), document.byteCount, *document.pdf, viewOf(document.leadingBytes));
}

void writeCleanedCopy(const std::filesystem::path& source, int fd) {
    auto document = openQpdfFile(source, 0);
    try {
        removePrivateData(*document.pdf);
    } catch (const std::exception&) {
        throwExportFailed();
    }
    writePdf(*document.pdf, fd);
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
    auto pdf = openQpdfBytes(bytes);
    return pdfReport(std::move(fileName), static_cast<std::int64_t>(bytes.size()), *pdf, bytes);
}

bool PDFPrivacySanitizer::failsPrivacyVerification(const FileMetadataReport& report) const {
    return report.containsPersonalMetadata();
}

void PDFPrivacySanitizer::exportPrivacyCopy(const std::filesystem::path& source,
                                            const std::filesystem::path& destination) const {
    FileExportSafety::exportPrivacyCopy(
        destination, FileExportSafety::DescriptorWriter{[&](int fd) { writeCleanedCopy(source, fd); }},
        [&](const std::filesystem::path& copy) { return FileExportSafety::verdictOn(*this, inspectPdfFile(copy)); });
}

}  // namespace velquor::files
