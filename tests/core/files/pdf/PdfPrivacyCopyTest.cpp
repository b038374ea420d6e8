#include "core/files/InspectorRegistry.h"
#include "core/files/pdf/PDFPrivacySanitizer.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/ExternalTools.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/PdfFixtures.h"
#include "tests/support/TemporaryDirectory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace velquor::files {
namespace {

using ::testing::Contains;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;
using velquor::testing::PdfBuilder;
using velquor::testing::readFile;
using velquor::testing::runChild;
using velquor::testing::samplePdf;
using velquor::testing::SamplePdfOptions;
using velquor::testing::TemporaryDirectory;

// The document as qpdf rewrites it with every stream uncompressed: what a reader can find in it.
std::string uncompressed(const std::filesystem::path& file) {
    const auto out = file.parent_path() / "uncompressed.qdf";
    std::filesystem::remove(out);
    const auto result = runChild("/usr/bin/qpdf", {"--qdf", "--object-streams=disable", file, out});
    EXPECT_TRUE(result.exitStatus == 0 || result.exitStatus == 3) << result.err;
    return readFile(out);
}

int pageCount(const std::filesystem::path& file) {
    return std::stoi(runChild("/usr/bin/qpdf", {"--show-npages", file}).out);
}

// exiftool's view of the file: its "Group:Tag" names.
std::vector<std::string> exiftoolTagNames(const std::filesystem::path& file) {
    std::vector<std::string> names;
    for (const auto& [name, value] : velquor::testing::exiftoolTags(file)) names.push_back(name);
    return names;
}

const SamplePdfOptions personalDocument{
    .info =
        "/Title (Budget 2024) /Author (Jane Doe) /Creator (Writer) /Producer (LibreOffice) /Subject (Finance) "
        "/Keywords (q1 budget) /CreationDate (D:20240301103000+01'00')",
    .xmp =
        "<?xpacket begin=\"\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?><x:xmpmeta xmlns:x=\"adobe:ns:meta/\">"
        "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"><rdf:Description rdf:about=\"\" "
        "xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:creator><rdf:Seq><rdf:li>Jane Doe</rdf:li></rdf:Seq>"
        "</dc:creator></rdf:Description></rdf:RDF></x:xmpmeta><?xpacket end=\"w\"?>",
    .annotations = {"/Subtype /Text /Rect [10 10 30 30] /Contents (Please check figures) /T (Alice Smith) "
                    "/M (D:20240301) /AP {AP}",
                    "/Subtype /FreeText /Rect [100 100 200 120] /Contents (Approved) /T (Bob Jones) /AP {AP} "
                    "/DA (/Helv 12 Tf)",
                    "/Subtype /Text /F 2 /Rect [0 0 5 5] /Contents (hidden remark) /T (Carol White) "
                    "/RC (<p>hidden remark</p>) /Subj (Private subject) /CreationDate (D:20240101) /M (D:20240102)",
                    "/Subtype /Link /Rect [0 0 50 10] /A << /S /URI /URI (https://example.com/report) >> "
                    "/Contents (link note) /T (Dan Black) /M (D:20240103)",
                    "/Subtype /Popup /Rect [0 0 50 50] /Contents (popup text)"},
    .catalogEntries =
        "/OpenAction << /S /JavaScript /JS (app.alert\\(1\\)) >> /PieceInfo << /Illustrator << "
        "/Private (layer data) >> >>",
    .pageCount = 2,
    .trailerEntries = "/ID [<0123456789ABCDEF0123456789ABCDEF> <0123456789ABCDEF0123456789ABCDEF>]",
};

TEST(PdfPrivacyCopyTest, CopyLosesEveryPersonalTraceAndKeepsThePages) {
    const TemporaryDirectory directory;
    const auto source = directory.write("budget.pdf", samplePdf(personalDocument));
    const auto copy = directory.path() / "budget-privacy.pdf";
    ASSERT_THAT(exiftoolTagNames(source), Contains("PDF:Author"));
    ASSERT_THAT(exiftoolTagNames(source), Contains("XMP-dc:Creator"));

    createPrivacyCopy(source, copy);

    const auto report = PDFPrivacySanitizer().inspect(copy);
    EXPECT_FALSE(report.containsPersonalMetadata());
    for (const auto& entry : report.entries) EXPECT_NE(entry.section, u"Description");
    const auto tags = exiftoolTagNames(copy);
    for (const char* tag : {":Title", ":Author", ":Creator", ":Subject", ":Keywords"}) {
        EXPECT_THAT(tags, Not(Contains(EndsWith(tag))));
    }
    EXPECT_THAT(tags, Not(Contains(StartsWith("XMP"))));
    EXPECT_EQ(pageCount(copy), 2);
    const auto content = uncompressed(copy);
    EXPECT_THAT(content, HasSubstr("(Quarterly report) Tj"));
    for (const char* trace : {"Please check figures", "Alice Smith", "Approved", "Bob Jones", "hidden remark",
                              "link note", "Dan Black", "popup text", "/Popup", "Carol White", "Private subject",
                              "D:2024", "layer data", "/PieceInfo", "/Metadata", "Budget 2024", "LibreOffice"}) {
        EXPECT_THAT(content, Not(HasSubstr(trace))) << trace;
    }
    // Annotations with an appearance are drawn into the page; the link and the note that have
    // none stay annotations, without their texts.
    EXPECT_THAT(content, HasSubstr("0 0 1 rg 0 0 100 20 re f"));
    EXPECT_THAT(content, HasSubstr("/Subtype /Text"));
    EXPECT_THAT(content, HasSubstr("/URI (https://example.com/report)"));
    EXPECT_EQ(report.entries.front().name, u"Annotations");
    EXPECT_EQ(report.entries.front().value, u"2");
    EXPECT_THAT(readFile(source), HasSubstr("<0123456789ABCDEF0123456789ABCDEF>"));
    EXPECT_THAT(readFile(copy), Not(HasSubstr("0123456789abcdef0123456789abcdef")));
}

TEST(PdfPrivacyCopyTest, FormFieldsAreDrawnBeforeTheyAreFlattened) {
    PdfBuilder pdf;
    const auto font = PdfBuilder::reference(pdf.add("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"));
    const auto field =
        PdfBuilder::reference(pdf.add("<< /Type /Annot /Subtype /Widget /FT /Tx /T (name) /V (Filled by Jane) "
                                      "/Rect [72 600 300 620] /DA (/Helv 12 Tf 0 g) >>"));
    const auto pageContent = PdfBuilder::reference(pdf.addStream("", "BT /Helv 12 Tf 72 700 Td (Form) Tj ET"));
    const int pages = pdf.addPageTree({"/MediaBox [0 0 612 792] /Contents " + pageContent +
                                       " /Resources << /Font << /Helv " + font + " >> >> /Annots [" + field + "]"});
    const int root =
        pdf.add("<< /Type /Catalog /Pages " + PdfBuilder::reference(pages) + " /AcroForm << /Fields [" + field +
                "] /NeedAppearances true /DR << /Font << /Helv " + font + " >> >> /DA (/Helv 0 Tf 0 g) >> >>");
    const TemporaryDirectory directory;
    const auto source = directory.write("form.pdf", pdf.build(root));
    const auto copy = directory.path() / "form-copy";  // a destination without .pdf

    createPrivacyCopy(source, copy);

    const auto content = uncompressed(copy);
    EXPECT_THAT(content, HasSubstr("(Filled by Jane) Tj"));
    EXPECT_THAT(content, Not(HasSubstr("/Widget")));
    EXPECT_THAT(content, Not(HasSubstr("/AcroForm")));
}

TEST(PdfPrivacyCopyTest, OwnerPasswordFilesStayEncryptedAndReadable) {
    const TemporaryDirectory directory;
    const auto plain = directory.write("plain.pdf", samplePdf({.info = "/Author (Jane Doe)", .pageCount = 3}));
    const auto source = directory.path() / "restricted.pdf";
    ASSERT_EQ(
        runChild("/usr/bin/qpdf", {"--encrypt", "", "owner", "256", "--print=none", "--", plain, source}).exitStatus,
        0);
    const auto copy = directory.path() / "restricted-privacy.pdf";

    createPrivacyCopy(source, copy);

    EXPECT_FALSE(PDFPrivacySanitizer().inspect(copy).containsPersonalMetadata());
    EXPECT_EQ(pageCount(copy), 3);
    EXPECT_THAT(runChild("/usr/bin/qpdf", {"--show-encryption", copy}).out,
                HasSubstr("print low resolution: not allowed"));
    EXPECT_THAT(uncompressed(copy), Not(HasSubstr("Jane Doe")));
}

}  // namespace
}  // namespace velquor::files
