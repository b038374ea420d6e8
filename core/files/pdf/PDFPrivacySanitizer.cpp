#include "core/files/pdf/PDFPrivacySanitizer.h"

#include "core/files/FileExportSafety.h"
#include "core/files/FileSanitizerError.h"
#include "core/files/FileTypes.h"
#include "core/files/MetadataText.h"
#include "core/files/pdf/PdfInspection.h"
#include "core/files/pdf/PdfPrivacyCopy.h"
#include "core/files/pdf/QpdfDocument.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <exception>
#include <system_error>

namespace velquor::files {

namespace {

FileMetadataReport pdfReport(std::u16string fileName, std::int64_t byteCount, std::vector<FileMetadataEntry> entries) {
    FileMetadataReport report;
    report.fileName = std::move(fileName);
    report.typeDescription = u"PDF document";
    report.byteCount = byteCount;
    report.entries = std::move(entries);
    return report;
}

std::optional<ByteView> viewOf(const std::optional<std::vector<std::uint8_t>>& bytes) {
    if (!bytes) return std::nullopt;
    return ByteView(*bytes);
}

// The report of any file read as PDF, whatever its name: a staged copy is named after its
// destination, which need not end in .pdf.
FileMetadataReport inspectPdfFile(const std::filesystem::path& file) {
    auto document = openQpdfFile(file, byteSignalLimit);
    auto entries = pdfEntries(*document.pdf, viewOf(document.leadingBytes));
    return pdfReport(metadataText(file.filename().string()), document.byteCount, std::move(entries));
}

// An open stream on a new staged file, closed on every path.
class StagedStream {
public:
    explicit StagedStream(StagedFile& staged) : stream_(::fdopen(staged.create(), "wb")) {
        if (stream_ == nullptr) throw std::system_error(errno, std::generic_category());
    }
    ~StagedStream() {
        if (stream_ != nullptr) std::fclose(stream_);
    }
    StagedStream(const StagedStream&) = delete;
    StagedStream& operator=(const StagedStream&) = delete;

    std::FILE* get() const { return stream_; }

    void close() {
        const int result = std::fclose(std::exchange(stream_, nullptr));
        if (result != 0) throw FileSanitizerError(FileSanitizerError::Case::exportFailed);
    }

private:
    std::FILE* stream_;
};

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
    return pdfReport(std::move(fileName), static_cast<std::int64_t>(bytes.size()), pdfEntries(*pdf, bytes));
}

bool PDFPrivacySanitizer::failsPrivacyVerification(const FileMetadataReport& report) const {
    return report.containsPersonalMetadata();
}

void PDFPrivacySanitizer::exportPrivacyCopy(const std::filesystem::path& source,
                                            const std::filesystem::path& destination) const {
    FileExportSafety::prepareDestination(destination);
    StagedFile staged(FileExportSafety::stagingURL(destination));
    auto document = openQpdfFile(source, 0);
    try {
        removePrivateData(*document.pdf);
    } catch (const std::exception&) {
        throw FileSanitizerError(FileSanitizerError::Case::exportFailed);
    }
    StagedStream stream(staged);
    writePdf(*document.pdf, stream.get());
    stream.close();

    if (failsPrivacyVerification(inspectPdfFile(staged.path()))) {
        throw FileSanitizerError(FileSanitizerError::Case::verificationFailed);
    }
    staged.publish(destination);
}

}  // namespace velquor::files
