// Arbitrary bytes as a PDF: inspection either reports or refuses the file as unreadable, and a
// document qpdf can open goes through the privacy copy's rewrite and is inspected again.
#include "core/files/FileSanitizerError.h"
#include "core/files/pdf/PDFPrivacySanitizer.h"
#include "core/files/pdf/PdfPrivacyCopy.h"
#include "core/files/pdf/QpdfDocument.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <vector>

namespace {

using namespace velquor::files;

void require(bool condition) {
    if (!condition) std::abort();
}

void checkReport(const FileMetadataReport& report) {
    std::set<std::u16string> ids;
    for (const auto& entry : report.entries) {
        require(ids.insert(entry.id).second);
        require(entry.section == u"Description" || entry.section == u"PDF" || entry.section == u"Embedded");
    }
}

std::vector<std::uint8_t> rewritten(ByteView bytes) {
    const PdfWorkBudget budget;
    auto document = openQpdfBytes(bytes, budget);
    removePrivateData(document);
    std::FILE* file = std::tmpfile();
    require(file != nullptr);
    std::vector<std::uint8_t> copy;
    try {
        writePdf(document, ::fileno(file));
        std::rewind(file);
        std::uint8_t buffer[1 << 16];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
            copy.insert(copy.end(), buffer, buffer + got);
        }
    } catch (const FileSanitizerError&) {
    }
    std::fclose(file);
    return copy;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ByteView bytes(data, size);
    try {
        checkReport(PDFPrivacySanitizer::inspectBytes(bytes, u"fuzz.pdf"));
        const auto copy = rewritten(bytes);
        if (!copy.empty()) checkReport(PDFPrivacySanitizer::inspectBytes(copy, u"copy.pdf"));
    } catch (const FileSanitizerError& error) {
        require(error.errorCase() == FileSanitizerError::Case::unreadableFile ||
                error.errorCase() == FileSanitizerError::Case::exportFailed);
    } catch (const std::exception&) {
        // qpdf failures while rewriting become exportFailed in the exporter.
    }
    return 0;
}
