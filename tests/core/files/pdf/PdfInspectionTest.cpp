#include "core/files/FileSanitizerError.h"
#include "core/files/InspectorRegistry.h"
#include "core/files/pdf/PDFPrivacySanitizer.h"
#include "tests/support/ExternalTools.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/PdfFixtures.h"
#include "tests/support/ReportRows.h"
#include "tests/support/TemporaryDirectory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace velquor::files {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using velquor::testing::PdfBuilder;
using velquor::testing::runTool;
using velquor::testing::samplePdf;
using velquor::testing::SamplePdfOptions;
using velquor::testing::TemporaryDirectory;
using Row = velquor::testing::ReportRow;
using velquor::testing::reportRows;

FileMetadataReport inspected(std::string_view bytes) {
    return PDFPrivacySanitizer::inspectBytes({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()},
                                             u"sample.pdf");
}

bool isUnreadable(std::string_view bytes) {
    return velquor::testing::errorOf([&] { inspected(bytes); }) == FileSanitizerError::Case::unreadableFile;
}

const SamplePdfOptions richDocument{
    .info =
        "/Title (Budget 2024) /Author (Jane Doe) /Creator (Writer) /Producer (LibreOffice 7.5) "
        "/Subject (Finance) /Keywords (q1, budget) /CreationDate (D:20240301103000+01'00') "
        "/ModDate (D:20240302) /Pages 12 /Version 1.50 /Trapped /False /Empty ()",
    .xmp = "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><dc:creator>Jane Doe</dc:creator></x:xmpmeta>",
    .annotations = {"/Subtype /Text /Rect [10 10 30 30] /Contents (Please check) /T (Alice) /M (D:20240301) "
                    "/RC (<p>Please check</p>) /Subj (Review) /CreationDate (D:20240301)",
                    "/Subtype /FreeText /Rect [100 100 200 120] /T (Bob) /AP {AP} /DA (/Helv 12 Tf)"},
    .catalogEntries = "/OpenAction << /S /JavaScript /JS (app.alert\\(1\\)) >>",
};

TEST(PdfInspectionTest, ReportsAttributesAnnotationsAndByteSignals) {
    const auto report = inspected(samplePdf(richDocument));
    EXPECT_EQ(report.typeDescription, u"PDF document");
    EXPECT_EQ(report.pixelSize, std::nullopt);
    EXPECT_FALSE(report.hasContentCredentialsSignal);
    EXPECT_THAT(reportRows(report),
                ElementsAre(Row{u"Description", u"Annotation text", u"Please check, Bob"},
                            Row{u"Description", u"Author", u"Jane Doe"}, Row{u"Description", u"Creator", u"Writer"},
                            Row{u"Description", u"Title", u"Budget 2024"}, Row{u"Description", u"XMP metadata", u"3"},
                            Row{u"PDF", u"Annotations", u"2"}, Row{u"PDF", u"CreationDate", u"2024-03-01T09:30:00Z"},
                            Row{u"PDF", u"JavaScript actions", u"2"}, Row{u"PDF", u"Keywords", u"q1, budget"},
                            Row{u"PDF", u"ModDate", u"2024-03-02T00:00:00Z"}, Row{u"PDF", u"Pages", u"12"},
                            Row{u"PDF", u"Producer", u"LibreOffice 7.5"}, Row{u"PDF", u"Subject", u"Finance"},
                            Row{u"PDF", u"Trapped", u"/False"}, Row{u"PDF", u"Version", u"1.5"}));
    EXPECT_TRUE(report.containsPersonalMetadata());
    EXPECT_EQ(report.entries[1].id.substr(0, 19), u"Description-Author-");
}

TEST(PdfInspectionTest, TextStringsDecodeFromEveryEncoding) {
    const auto report = inspected(samplePdf({.info = "/Title <FEFF00C9006C006F006400690065> /Author <EFBBBFC3A97465> "
                                                     "/Creator (caf\\351) /Company (Acme \\(UK\\))"}));
    EXPECT_THAT(reportRows(report),
                ElementsAre(Row{u"Description", u"Author", u"\u00E9te"}, Row{u"Description", u"Creator", u"caf\u00E9"},
                            Row{u"Description", u"Title", u"\u00C9lodie"}, Row{u"PDF", u"Company", u"Acme (UK)"}));
}

TEST(PdfInspectionTest, AttributeNamesLoseThePlatformWordsAndIdsStayUnique) {
    const auto report = inspected(samplePdf(
        {.info = "/PDFDocumentTitleAttribute (a) /TitleKey (a) /PDFDocumentKeywordsAttribute (b) /Attributes (c)"}));
    EXPECT_THAT(reportRows(report), ElementsAre(Row{u"PDF", u"Attributes", u"c"}, Row{u"PDF", u"Keywords", u"b"},
                                                Row{u"PDF", u"Title", u"a"}, Row{u"PDF", u"Title", u"a"}));
    EXPECT_NE(report.entries[2].id, report.entries[3].id);
    EXPECT_TRUE(report.containsPersonalMetadata());
}

TEST(PdfInspectionTest, AnnotationTextsTakeContentsThenAuthorAndShowTheFirstThree) {
    const SamplePdfOptions fourTexts{.annotations = {"/Subtype /Text /Contents (a) /T (x)", "/Subtype /Text /T (b)",
                                                     "/Subtype /Text", "/Subtype /Text /Contents ()",
                                                     "/Subtype /Text /Contents (d)"}};
    EXPECT_THAT(reportRows(inspected(samplePdf(fourTexts))),
                ElementsAre(Row{u"Description", u"Annotation text", u"a, b, "}, Row{u"PDF", u"Annotations", u"5"}));

    const SamplePdfOptions silent{.annotations = {"/Subtype /Link /Rect [0 0 1 1]"}};
    EXPECT_THAT(reportRows(inspected(samplePdf(silent))), ElementsAre(Row{u"PDF", u"Annotations", u"1"}));
}

TEST(PdfInspectionTest, ByteSignalsAreCaseInsensitiveAndWholeNames) {
    PdfBuilder pdf;
    pdf.add(
        "<< /FontFile2 1 /FontFile3 2 /FontFileX 3 /fontfile 4 /js 5 /JSX 6 /Launch 7 /RichMedia 8 "
        "/EmbeddedFile 9 /Filespec 10 /EmbeddedFiles 11 /Subtype/Image /Subtype /ImageMask >>");
    const int pages = pdf.add("<< /Type /Pages /Kids [] /Count 0 >>");
    const int root = pdf.add("<< /Type /Catalog /Pages " + std::to_string(pages) + " 0 R >>");
    EXPECT_THAT(reportRows(inspected(pdf.build(root))),
                ElementsAre(Row{u"Embedded", u"Embedded files", u"2"}, Row{u"Embedded", u"Fonts", u"3"},
                            Row{u"Embedded", u"Images", u"1"}, Row{u"PDF", u"JavaScript actions", u"1"},
                            Row{u"PDF", u"Launch actions", u"1"}, Row{u"PDF", u"Rich media", u"1"}));
}

TEST(PdfInspectionTest, ByteSignalsStopAtFourMillionBytes) {
    PdfBuilder pdf;
    const std::string filler(4'000'000, ' ');
    pdf.addStream("", filler);
    const int metadata = pdf.addStream("/Type /Metadata /Subtype /XML", "<x:xmpmeta/>");
    const int pages = pdf.add("<< /Type /Pages /Kids [] /Count 0 >>");
    const int root = pdf.add("<< /Type /Catalog /Pages " + std::to_string(pages) + " 0 R /Metadata " +
                             std::to_string(metadata) + " 0 R >>");
    EXPECT_THAT(reportRows(inspected(pdf.build(root))), IsEmpty());
}

TEST(PdfInspectionTest, RecoversDamagedFilesAndRefusesWhatItCannotRead) {
    auto damaged = samplePdf({.info = "/Author (Jane Doe)"});
    damaged.replace(damaged.rfind("startxref\n") + 10, 3, "999");
    EXPECT_THAT(reportRows(inspected(damaged)), ElementsAre(Row{u"Description", u"Author", u"Jane Doe"}));

    const auto whole = samplePdf(richDocument);
    for (std::size_t cut = 0; cut < whole.size(); cut += 97) {
        try {
            inspected(whole.substr(0, cut));
        } catch (const FileSanitizerError& error) {
            EXPECT_EQ(error.errorCase(), FileSanitizerError::Case::unreadableFile) << cut;
        }
    }
    EXPECT_TRUE(isUnreadable(""));
    EXPECT_TRUE(isUnreadable("%PDF-1.7\nnothing else at all\n"));
    EXPECT_TRUE(isUnreadable("<svg xmlns='http://www.w3.org/2000/svg'/>"));
}

TEST(PdfInspectionTest, DeeplyNestedObjectsFinish) {
    const std::string nested = std::string(100'000, '[') + std::string(100'000, ']');
    const std::string dictionaries = [] {
        std::string text;
        for (int i = 0; i < 20'000; ++i) text += "<< /A ";
        text += "1";
        for (int i = 0; i < 20'000; ++i) text += " >>";
        return text;
    }();
    for (const auto& value : {nested, dictionaries}) {
        try {
            inspected(samplePdf({.info = "/Author (Jane) /Deep " + value}));
        } catch (const FileSanitizerError& error) {
            EXPECT_EQ(error.errorCase(), FileSanitizerError::Case::unreadableFile);
        }
    }
}

TEST(PdfInspectionTest, FilesDispatchByExtensionInAnyCase) {
    const TemporaryDirectory directory;
    const auto bytes = samplePdf({.info = "/Title (Plan)"});
    for (const char* name : {"plan.pdf", "PLAN.PDF", "plan.Pdf"}) {
        const auto report = inspectReport(directory.write(name, bytes));
        EXPECT_EQ(report.typeDescription, u"PDF document") << name;
        EXPECT_EQ(report.byteCount, static_cast<std::int64_t>(bytes.size()));
        EXPECT_TRUE(report.containsPersonalMetadata());
    }
    EXPECT_THROW(PDFPrivacySanitizer().inspect(directory.write("plan.txt", bytes)), FileSanitizerError);
    EXPECT_THROW(inspectReport(directory.path()), FileSanitizerError);
}

TEST(PdfInspectionTest, PasswordProtectedFiles) {
    const TemporaryDirectory directory;
    const auto plain = directory.write("plain.pdf", samplePdf({.info = "/Author (Jane Doe)"}));
    const auto userLocked = directory.path() / "user.pdf";
    const auto ownerLocked = directory.path() / "owner.pdf";
    runTool("/usr/bin/qpdf", {"--encrypt", "secret", "owner", "256", "--", plain, userLocked});
    runTool("/usr/bin/qpdf", {"--encrypt", "", "owner", "256", "--print=none", "--", plain, ownerLocked});

    EXPECT_EQ(velquor::testing::errorOf([&] { PDFPrivacySanitizer().inspect(userLocked); }),
              FileSanitizerError::Case::unreadableFile);
    EXPECT_THAT(reportRows(PDFPrivacySanitizer().inspect(ownerLocked)),
                ElementsAre(Row{u"Description", u"Author", u"Jane Doe"}));
}

}  // namespace
}  // namespace velquor::files
