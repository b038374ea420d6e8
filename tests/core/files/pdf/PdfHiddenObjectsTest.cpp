// What a PDF holds outside its page tree and its newest trailer: template pages, pages nothing
// lists, information dictionaries of earlier revisions, and files whose structure qpdf had to
// guess.
#include "core/files/FileSanitizerError.h"
#include "core/files/InspectorRegistry.h"
#include "core/files/MetadataText.h"
#include "core/files/pdf/PDFPrivacySanitizer.h"
#include "core/files/pdf/PdfPrivacyCopy.h"
#include "core/files/pdf/QpdfDocument.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/PdfFixtures.h"
#include "tests/support/ReportRows.h"
#include "tests/support/SmallFileSystem.h"
#include "tests/support/TemporaryDirectory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <system_error>

namespace velquor::files {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;
using velquor::testing::errorOf;
using velquor::testing::namesIn;
using velquor::testing::PdfBuilder;
using velquor::testing::readFile;
using velquor::testing::ReportRow;
using velquor::testing::reportRows;
using velquor::testing::TemporaryDirectory;
using velquor::testing::withIncrementalUpdate;
using Case = FileSanitizerError::Case;

// Written as it is, unreferenced objects included, with no stream compressed and no object
// streams, so that a text search of the file sees every object.
std::string written(QPDF& pdf) {
    QPDFWriter writer(pdf);
    writer.setOutputMemory();
    writer.setPreserveUnreferencedObjects(true);
    writer.setCompressStreams(false);
    writer.setObjectStreamMode(qpdf_o_disable);
    writer.write();
    const auto buffer = writer.getBufferSharedPointer();
    return {reinterpret_cast<const char*>(buffer->getBuffer()), buffer->getSize()};
}

QPDFObjectHandle pageWithNote(QPDF& pdf, const std::string& author) {
    auto page = QPDFObjectHandle::parse("<< /Type /Page /MediaBox [0 0 612 792] >>");
    const auto note = pdf.makeIndirectObject(
        QPDFObjectHandle::parse("<< /Type /Annot /Subtype /Text /Rect [10 10 30 30] /T (" + author + ") >>"));
    page.replaceKey("/Annots", QPDFObjectHandle::newArray(std::vector<QPDFObjectHandle>{note}));
    return pdf.makeIndirectObject(page);
}

// A one-page document made with qpdf, to which `extend` adds what a case needs.
std::string documentWith(const std::function<void(QPDF&)>& extend) {
    QPDF pdf;
    pdf.emptyPDF();
    QPDFPageDocumentHelper(pdf).addPage(
        pdf.makeIndirectObject(QPDFObjectHandle::parse("<< /Type /Page /MediaBox [0 0 612 792] >>")), false);
    extend(pdf);
    return written(pdf);
}

struct HiddenNoteCase {
    const char* name;
    std::function<void(QPDF&)> extend;
    const char* author;
    const char* keptInCopy;  // what shows that the holder of the note was written, or nothing
};

const std::vector<HiddenNoteCase>& hiddenNoteCases() {
    static const std::vector<HiddenNoteCase> cases{
        {"template page",
         [](QPDF& pdf) {
             auto names = QPDFObjectHandle::newDictionary();
             names.replaceKey("/Templates", QPDFObjectHandle::parse("<< /Names [(order form)] >>"));
             names.getKey("/Templates").getKey("/Names").appendItem(pageWithNote(pdf, "Template Author"));
             pdf.getRoot().replaceKey("/Names", names);
         },
         "Template Author", "(order form)"},
        {"page nothing refers to", [](QPDF& pdf) { pageWithNote(pdf, "Orphan Author"); }, "Orphan Author", nullptr},
        {"pop-up named only by its parent",
         [](QPDF& pdf) {
             auto popup = pdf.makeIndirectObject(
                 QPDFObjectHandle::parse("<< /Subtype /Popup /Rect [0 0 9 9] /Contents (Popup Author) >>"));
             auto link = pdf.makeIndirectObject(QPDFObjectHandle::parse("<< /Subtype /Link /Rect [0 0 9 9] >>"));
             link.replaceKey("/Popup", popup);
             QPDFPageDocumentHelper(pdf).getAllPages().front().getObjectHandle().replaceKey(
                 "/Annots", QPDFObjectHandle::newArray(std::vector<QPDFObjectHandle>{link}));
         },
         "Popup Author", "/Link"},
    };
    return cases;
}

TEST(PdfHiddenObjectsTest, NotesOutsideThePageTreeAreReportedAndLeaveNoTraceInTheCopy) {
    for (const auto& testCase : hiddenNoteCases()) {
        SCOPED_TRACE(testCase.name);
        const TemporaryDirectory directory;
        const auto source = directory.write("notes.pdf", documentWith(testCase.extend));
        ASSERT_THAT(readFile(source), HasSubstr(testCase.author));

        const auto report = PDFPrivacySanitizer().inspect(source);
        EXPECT_TRUE(report.containsPersonalMetadata());
        EXPECT_THAT(reportRows(report),
                    Contains(ReportRow{u"Description", u"Annotation text", metadataText(testCase.author)}));

        const auto copy = directory.path() / "notes-privacy.pdf";
        createPrivacyCopy(source, copy);
        const auto bytes = readFile(copy);
        EXPECT_THAT(bytes, Not(HasSubstr(testCase.author)));
        if (testCase.keptInCopy != nullptr) {
            EXPECT_THAT(bytes, HasSubstr(testCase.keptInCopy));
        }
        EXPECT_FALSE(PDFPrivacySanitizer().inspect(copy).containsPersonalMetadata());
    }
}

// The original: an information dictionary with the author's name as object 1, the page tree as
// 2 and 3, the catalog as 4.
std::string documentByJane() {
    PdfBuilder pdf;
    pdf.add("<< /Author (Jane Doe) /Title (Budget 2024) >>");
    const int tree = pdf.addPageTree({"/MediaBox [0 0 612 792]"});
    return pdf.build(pdf.add("<< /Type /Catalog /Pages " + PdfBuilder::reference(tree) + " >>"), "/Info 1 0 R");
}

struct UpdateCase {
    const char* name;
    std::vector<std::pair<int, std::string>> objects;
    const char* trailer;
};

TEST(PdfHiddenObjectsTest, InformationThatOnlyAnOlderTrailerNamesIsReportedAndDropped) {
    const std::vector<UpdateCase> cases{
        {"update without information", {{2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>"}}, "/Size 5 /Root 4 0 R"},
        {"update with its own information", {{5, "<< /Producer (Updater 2.0) >>"}}, "/Size 6 /Root 4 0 R /Info 5 0 R"},
        {"update whose catalog still refers to the old dictionary",
         {{4, "<< /Type /Catalog /Pages 2 0 R /Extra 1 0 R >>"}},
         "/Size 5 /Root 4 0 R"},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        const TemporaryDirectory directory;
        const auto source =
            directory.write("updated.pdf", withIncrementalUpdate(documentByJane(), testCase.objects, testCase.trailer));

        const auto report = PDFPrivacySanitizer().inspect(source);
        EXPECT_TRUE(report.containsPersonalMetadata());
        EXPECT_THAT(reportRows(report), Contains(ReportRow{u"Description", u"Author", u"Jane Doe"}));

        const auto copy = directory.path() / "updated-privacy.pdf";
        createPrivacyCopy(source, copy);
        const auto bytes = readFile(copy);
        EXPECT_THAT(bytes, Not(HasSubstr("Jane Doe")));
        EXPECT_THAT(bytes, Not(HasSubstr("Budget 2024")));
        EXPECT_THAT(bytes, Not(HasSubstr("/Prev")));
        EXPECT_FALSE(PDFPrivacySanitizer().inspect(copy).containsPersonalMetadata());
    }
}

TEST(PdfHiddenObjectsTest, RevisionChainsThatLoopOrLeadNowhereEndTheWalk) {
    const auto original = documentByJane();
    const auto looping =
        withIncrementalUpdate(original, {{2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>"}}, "/Size 5 /Root 4 0 R");
    const auto lastSection = std::to_string(std::stoul(looping.substr(looping.rfind("startxref") + 9)));
    for (const auto& [name, file] : std::vector<std::pair<std::string, std::string>>{
             {"a /Prev naming its own section",
              withIncrementalUpdate(looping, {{5, "<< >>"}}, "/Size 6 /Root 4 0 R /Prev " + lastSection)},
             {"a /Prev beyond the end of the file",
              withIncrementalUpdate(original, {{5, "<< >>"}}, "/Size 6 /Root 4 0 R /Prev 99999999")},
             {"a /Prev into the middle of an object",
              withIncrementalUpdate(original, {{5, "<< >>"}}, "/Size 6 /Root 4 0 R /Prev 20")},
         }) {
        SCOPED_TRACE(name);
        const TemporaryDirectory directory;
        const auto source = directory.write("chain.pdf", file);
        EXPECT_NO_THROW(PDFPrivacySanitizer().inspect(source));
    }
}

TEST(PdfHiddenObjectsTest, AFileWithoutACatalogIsNotCopied) {
    PdfBuilder catalogless;
    catalogless.add("42");
    const TemporaryDirectory directory;
    const auto source = directory.write("damaged.pdf", catalogless.build(1));
    const auto error = errorOf([&] { createPrivacyCopy(source, directory.path() / "damaged-privacy.pdf"); });
    EXPECT_TRUE(error == Case::exportFailed || error == Case::unreadableFile);
    EXPECT_EQ(namesIn(directory.path()), std::vector<std::string>{"damaged.pdf"});
}

// Hand-made and slightly broken PDFs are common; qpdf finds their objects by scanning, and the
// copy is verified object by object like any other.
TEST(PdfHiddenObjectsTest, ARebuiltTableInspectsAndIsCopiedWithoutItsAuthor) {
    auto file = documentByJane();
    file.replace(file.rfind("startxref\n") + 10, 3, "9");
    const TemporaryDirectory directory;
    const auto source = directory.write("rebuilt.pdf", file);
    EXPECT_THAT(reportRows(PDFPrivacySanitizer().inspect(source)),
                Contains(ReportRow{u"Description", u"Author", u"Jane Doe"}));
    const auto copy = directory.path() / "rebuilt-privacy.pdf";
    createPrivacyCopy(source, copy);
    EXPECT_THAT(reportRows(PDFPrivacySanitizer().inspect(copy)),
                Not(Contains(ReportRow{u"Description", u"Author", u"Jane Doe"})));
}

// One budget outlives every document the tests open, and the whole test run.
const PdfWorkBudget& testBudget() {
    static const PdfWorkBudget budget(std::chrono::hours(1));
    return budget;
}

QpdfDocument opened(const std::string& bytes) {
    return openQpdfBytes({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, testBudget());
}

// Residue the report never shows (a subject, a date, application data deep in an object) still
// fails the copy, and is gone once the document has been cleaned.
TEST(PdfHiddenObjectsTest, ResidueBeyondTheReportIsFoundAndRemoved) {
    const std::vector<std::pair<std::string, std::function<void(QPDF&)>>> cases{
        {"annotation subject",
         [](QPDF& pdf) {
             pdf.getRoot().replaceKey(
                 "/Extra",
                 pdf.makeIndirectObject(QPDFObjectHandle::parse("<< /Type /Annot /Subtype /Text /Subj (Private) >>")));
         }},
        {"annotation date on a page nothing lists",
         [](QPDF& pdf) {
             auto page = pageWithNote(pdf, "x");
             page.getKey("/Annots").getArrayItem(0).removeKey("/T");
             page.getKey("/Annots").getArrayItem(0).replaceKey("/M", QPDFObjectHandle::newString("D:20240102"));
         }},
        {"application data nested in an object",
         [](QPDF& pdf) {
             pdf.getRoot().replaceKey("/Extra", QPDFObjectHandle::parse("[[<< /PieceInfo << /App (data) >> >>]]"));
         }},
        {"information of an older revision", [](QPDF&) {}},
    };
    for (const auto& [name, extend] : cases) {
        SCOPED_TRACE(name);
        const auto bytes =
            name == "information of an older revision"
                ? withIncrementalUpdate(documentByJane(), {{2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>"}},
                                        "/Size 5 /Root 4 0 R")
                : documentWith(extend);
        auto document = opened(bytes);
        EXPECT_TRUE(keepsPrivateData(document));
        removePrivateData(document);
        EXPECT_FALSE(keepsPrivateData(document));
    }
    const auto plainBytes = documentWith([](QPDF&) {});
    auto plain = opened(plainBytes);
    EXPECT_FALSE(keepsPrivateData(plain));
}

TEST(PdfHiddenObjectsTest, AFullDiskIsAFailedWriteAndLeavesNoFile) {
    const TemporaryDirectory directory;
    const velquor::testing::SmallFileSystem full(directory.path() / "full");
    if (!full.mounted()) GTEST_SKIP() << "mounting a small tmpfs needs root";
    std::mt19937 random(11);
    std::string noise(300'000, '\0');
    for (auto& byte : noise) byte = static_cast<char>(random());
    PdfBuilder pdf;
    const int image = pdf.addStream(
        "/Type /XObject /Subtype /Image /Width 500 /Height 200 /ColorSpace /DeviceRGB "
        "/BitsPerComponent 8",
        noise);  // incompressible, larger than the file system
    const int tree = pdf.addPageTree(
        {"/MediaBox [0 0 612 792] /Resources << /XObject << /Im0 " + PdfBuilder::reference(image) + " >> >>"});
    const auto source = directory.write(
        "big.pdf", pdf.build(pdf.add("<< /Type /Catalog /Pages " + PdfBuilder::reference(tree) + " >>")));

    try {
        createPrivacyCopy(source, directory.path() / "full" / "big-privacy.pdf");
        ADD_FAILURE() << "the copy was written to a full disk";
    } catch (const FileSanitizerError& error) {
        EXPECT_EQ(error.errorCase(), Case::exportFailed) << error.what();
        EXPECT_STREQ(error.what(), "The privacy copy could not be written.");
    } catch (const std::system_error& error) {
        EXPECT_EQ(error.code(), std::errc::no_space_on_device) << error.what();
    }
    EXPECT_TRUE(namesIn(directory.path() / "full").empty());
}

}  // namespace
}  // namespace velquor::files
