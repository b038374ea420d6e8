// Documents built to keep qpdf and our walks busy: each is refused with the message the user sees
// and leaves nothing behind, or, within the budget, is inspected and copied as any other.
#include "core/files/FileSanitizerError.h"
#include "core/files/pdf/PDFPrivacySanitizer.h"
#include "core/files/pdf/PdfBudget.h"
#include "core/files/pdf/QpdfDocument.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/PdfFixtures.h"
#include "tests/support/ReportRows.h"
#include "tests/support/TemporaryDirectory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

namespace velquor::files {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using namespace velquor::testing;

ByteView viewOf(const std::string& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

std::string messageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const FileSanitizerError& error) {
        return error.what();
    }
    return "(no error)";
}

struct HostileDocument {
    const char* name;
    std::function<std::string()> make;
};

void PrintTo(const HostileDocument& document, std::ostream* out) { *out << document.name; }

const HostileDocument hostileDocuments[] = {
    {"MoreAnnotationsThanTheBudget", [] { return pdfWithAnnotations(PdfBudget::annotations + 1); }},
    {"MoreObjectsThanTheBudget", [] { return pdfWithFillerObjects(PdfBudget::objects); }},
    // Few objects, but more memory once parsed than the budget lets the process grow by.
    {"OneArrayOfMillionsOfNumbers", [] { return pdfWithLongArray(12'000'000); }},
    // Past the size up to which a damaged cross-reference table is rebuilt, with few objects.
    {"BrokenCrossReferenceOfALargeFile",
     [] { return pdfWithBrokenCrossReference(1100, PdfBudget::rebuiltByteCount / 1000); }},
};

class PdfBudgetRefusalTest : public ::testing::TestWithParam<HostileDocument> {};

TEST_P(PdfBudgetRefusalTest, IsRefusedWithTheUsualMessagesAndLeavesNothing) {
    TemporaryDirectory directory;
    const auto source = directory.write("hostile.pdf", GetParam().make());
    const PDFPrivacySanitizer sanitizer;
    EXPECT_EQ(messageOf([&] { sanitizer.inspect(source); }), "The file could not be read.");
    EXPECT_EQ(messageOf([&] { sanitizer.exportPrivacyCopy(source, directory.path() / "copy.pdf"); }),
              "The privacy copy could not be written.");
    EXPECT_THAT(namesIn(directory.path()), ElementsAre("hostile.pdf"));
}

INSTANTIATE_TEST_SUITE_P(Documents, PdfBudgetRefusalTest, ::testing::ValuesIn(hostileDocuments),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PdfBudgetTest, AnnotationsUpToTheBudgetAreCounted) {
    const auto report = PDFPrivacySanitizer::inspectBytes(viewOf(pdfWithAnnotations(PdfBudget::annotations)), u"a.pdf");
    EXPECT_THAT(reportRows(report), Contains(ReportRow{u"PDF", u"Annotations", u"50000"}));
    EXPECT_THAT(reportRows(report), Contains(ReportRow{u"Description", u"Annotation text", u"Note 0, Note 1, Note 2"}));
}

// A small file whose table must be rebuilt is still read, and its copy is a sound file that holds
// only what the document reaches.
TEST(PdfBudgetTest, ASmallBrokenCrossReferenceIsRebuiltAndCopied) {
    TemporaryDirectory directory;
    const auto source = directory.write("broken.pdf", pdfWithBrokenCrossReference(2000));
    const auto copy = directory.path() / "broken-privacy.pdf";
    const PDFPrivacySanitizer sanitizer;
    EXPECT_FALSE(sanitizer.inspect(source).containsPersonalMetadata());
    sanitizer.exportPrivacyCopy(source, copy);
    EXPECT_EQ(runChild("/usr/bin/qpdf", {"--check", copy}).exitStatus, 0);
    EXPECT_EQ(runChild("/usr/bin/qpdf", {"--show-npages", copy}).out, "1\n");
    EXPECT_EQ(readFile(copy).find("/Filler"), std::string::npos);
    EXPECT_THAT(namesIn(directory.path()), ElementsAre("broken-privacy.pdf", "broken.pdf"));
}

// qpdf's own parsing reads through the budget: once its time is spent nothing more is read.
TEST(PdfBudgetTest, ASpentBudgetStopsQpdfItself) {
    const auto bytes = samplePdf({.info = "/Title (Budget)"});
    const PdfWorkBudget spent(std::chrono::seconds(0));
    EXPECT_EQ(messageOf([&] { openQpdfBytes(viewOf(bytes), spent); }), "The file could not be read.");
    EXPECT_TRUE(spent.exceeded());

    const PdfWorkBudget fresh;
    auto document = openQpdfBytes(viewOf(bytes), fresh);
    EXPECT_TRUE(structureIsTrusted(document));
    EXPECT_FALSE(fresh.exceeded());
    EXPECT_THROW(fresh.checkAnnotationCount(PdfBudget::annotations + 1), PdfBudgetExceeded);
    EXPECT_TRUE(fresh.exceeded());
}

}  // namespace
}  // namespace velquor::files
