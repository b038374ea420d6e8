#include "core/files/EntryOrder.h"
#include "core/files/FileMetadataReport.h"
#include "core/files/FileReportBuilder.h"
#include "core/files/FileSanitizerError.h"
#include "core/files/FileTypes.h"
#include "core/files/InspectorRegistry.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <string>

namespace velquor::files {
namespace {

using Case = FileSanitizerError::Case;

FileMetadataReport reportWith(std::u16string section, std::u16string name) {
    FileMetadataReport report;
    report.entries.push_back({u"id", std::move(section), std::move(name), u"value"});
    return report;
}

TEST(FileMetadataReportTest, PersonalMetadataFollowsSectionsAndNormalizedNames) {
    const struct {
        std::u16string section;
        std::u16string name;
        bool personal;
        bool location;
    } cases[] = {
        {u"Location", u"Latitude", true, true},
        {u"Capture", u"Make", true, false},
        {u"Description", u"Keywords", true, false},
        {u"location", u"Latitude", false, false},  // sections compare exactly
        {u"Preview", u"Embedded thumbnail", true, false},
        {u"File", u"Generation-Parameters", true, false},
        {u"File", u"SOFTWARE", true, false},
        {u"File", u"i TXt", true, false},
        {u"File", u"PixelWidth", false, false},
        {u"File", u"Authors", false, false},  // a list name, not a substring
        {u"PDF", u"Creator", true, false},
    };
    for (const auto& c : cases) {
        const auto report = reportWith(c.section, c.name);
        EXPECT_EQ(report.containsPersonalMetadata(), c.personal) << std::string(c.name.begin(), c.name.end());
        EXPECT_EQ(report.containsLocation(), c.location);
    }
    EXPECT_FALSE(FileMetadataReport().containsPersonalMetadata());
}

TEST(FileSanitizerErrorTest, MessagesAreTheOnesUsersSee) {
    const std::pair<Case, std::string> cases[] = {
        {Case::unsupportedFile,
         "Only common images, SVG, PDF, audio/video, and Office/iWork zip documents are supported in this version."},
        {Case::unreadableFile, "The file could not be read."},
        {Case::destinationExists, "A file already exists at the destination."},
        {Case::contentCredentialsInspectOnly,
         "This file appears to contain content credentials or provenance data. Velquor leaves those files "
         "inspect-only."},
        {Case::archiveResourceLimitExceeded, "The document archive exceeds the safe inspection limit."},
        {Case::unsafeArchiveEntry, "The document archive contains unsafe or conflicting entries."},
        {Case::exportFailed, "The privacy copy could not be written."},
        {Case::verificationFailed, "The exported copy still contains personal metadata."},
        {Case::signedDocument,
         "This document is digitally signed, and any change would break its signature. Velquor leaves signed "
         "documents inspect-only."},
        {Case::inspectOnlyType, "Privacy export is not available for this file type."},
    };
    for (const auto& [errorCase, message] : cases) {
        const FileSanitizerError error(errorCase);
        EXPECT_EQ(error.what(), message);
        EXPECT_EQ(error, FileSanitizerError(errorCase));
    }
}

TEST(EntryOrderTest, SectionsByCodePointThenNamesAsAFileBrowserListsThem) {
    std::vector<FileMetadataEntry> entries{
        {u"1", u"Location", u"Latitude", u""}, {u"2", u"File", u"Frame 10", u""}, {u"3", u"Capture", u"Make", u""},
        {u"4", u"File", u"frame 2", u""},      {u"5", u"File", u"Frame 2", u""},  {u"6", u"Description", u"b", u""},
        {u"7", u"Description", u"A", u""},
    };
    sortEntries(entries);
    std::u16string order;
    for (const auto& entry : entries) order += entry.id;
    // Capture, Description (A before b), File (frame 2 and Frame 2 tie and keep their order), Location.
    EXPECT_EQ(order, u"3764521");
    EXPECT_LT(compareNamesForDisplay(u"Frame 9", u"Frame 10"), 0);
    EXPECT_EQ(compareNamesForDisplay(u"GPS", u"gps"), 0);
}

TEST(FileReportBuilderTest, EveryReportIsNamedSortedAndFlaggedTheSameWay) {
    const ProvenanceEvidence possible{ProvenanceConfidence::possible, u"Marker", u"A marker text.", false};
    const ProvenanceEvidence confirmed{ProvenanceConfidence::confirmed, u"C2PA", u"A manifest.", true};
    const auto report =
        buildFileReport(reportFileName("/photos/caf\xE9 2.jpg"), {.typeDescription = u"JPEG image",
                                                                  .byteCount = 42,
                                                                  .entries = {{u"b", u"File", u"Frame 10", u""},
                                                                              {u"a", u"Capture", u"Make", u""},
                                                                              {u"c", u"File", u"Frame 2", u""}},
                                                                  .pixelSize = u"4 x 3",
                                                                  .provenanceEvidence = {possible, confirmed}});
    // A name that is not UTF-8 keeps its byte as Latin-1 rather than being refused or dropped.
    EXPECT_EQ(report.fileName, u"caf\u00E9 2.jpg");
    EXPECT_EQ(report.typeDescription, u"JPEG image");
    EXPECT_EQ(report.byteCount, 42);
    EXPECT_EQ(report.pixelSize, u"4 x 3");
    std::u16string order;
    for (const auto& entry : report.entries) order += entry.id;
    EXPECT_EQ(order, u"acb");
    EXPECT_TRUE(report.hasContentCredentialsSignal);
    EXPECT_EQ(report.provenanceEvidence, (std::vector{possible, confirmed})) << "evidence keeps its order";

    const auto traceOnly =
        buildFileReport(u"x.png", {.typeDescription = u"PNG image", .provenanceEvidence = {possible}});
    EXPECT_FALSE(traceOnly.hasContentCredentialsSignal) << "a possible trace only informs";
    EXPECT_EQ(traceOnly.fileName, u"x.png");
}

TEST(FileTypesTest, ExtensionsAreMatchedInAnyCaseAndSvgIsAnImage) {
    const struct {
        const char* name;
        const char* identifier;  // empty: no type
    } cases[] = {
        {"photo.JPG", "public.jpeg"},
        {"x.SVG", "public.svg-image"},
        {"a.Pdf", "com.adobe.pdf"},
        {"clip.MOV", "com.apple.quicktime-movie"},
        {".jpg", ""},
        {"photo.", ""},
        {"notes", ""},
        {"archive.tar.webp", "org.webmproject.webp"},
        {"doc.docx", ""},
        {"letter.ODT", "org.oasis-open.opendocument.text"},
        {"form.ott", "org.oasis-open.opendocument.text-template"},
        {"book.Epub", "org.idpf.epub-container"},
    };
    for (const auto& c : cases) {
        const auto type = typeFromExtension(c.name);
        EXPECT_EQ(type ? std::string(type->identifier) : std::string(), c.identifier) << c.name;
    }
    EXPECT_TRUE(extensionConformsTo("x.svg", TypeConformance::image));
    EXPECT_FALSE(extensionConformsTo("x.pdf", TypeConformance::image));
    EXPECT_TRUE(extensionConformsTo("song.m4a", TypeConformance::audio));
    // Documents are no media: the media family must not claim them.
    for (const auto* document : {"a.odt", "a.ods", "a.odp", "a.odg", "a.epub"}) {
        for (const auto kind : {TypeConformance::image, TypeConformance::pdf, TypeConformance::audio,
                                TypeConformance::movie, TypeConformance::video}) {
            EXPECT_FALSE(extensionConformsTo(document, kind)) << document;
        }
    }
}

TEST(InspectorRegistryTest, SvgIsDispatchedBeforeImagesAndUnknownFilesAreUnsupported) {
    std::vector<std::string_view> families;
    for (const auto& row : inspectorRegistry()) families.push_back(row.family);
    EXPECT_EQ(families,
              (std::vector<std::string_view>{"svg", "pdf", "image", "media", "office", "opendocument", "epub"}));
    // x.SVG conforms to image, yet reaches the SVG inspector, which reads it as markup.
    EXPECT_TRUE(isInspectable("x.SVG"));
    EXPECT_TRUE(isInspectable("x.webp"));
    EXPECT_TRUE(isExportable("x.HEIC"));
    EXPECT_FALSE(isExportable("notes.pages"));

    testing::TemporaryDirectory directory;
    const auto svg = directory.write("x.SVG", "<svg xmlns='http://www.w3.org/2000/svg'/>");
    const auto inspect = [](const std::filesystem::path& file) {
        return testing::errorOf([&] { inspectReport(file); });
    };
    const auto copy = [](const std::filesystem::path& file) {
        return testing::errorOf([&] { createPrivacyCopy(file, file.string() + ".out"); });
    };
    EXPECT_TRUE(inspectReport(svg).entries.empty());
    EXPECT_EQ(inspect(directory.write("notes.txt", "hello")), Case::unsupportedFile);
    // What some family inspects but none exports is inspect-only; what none inspects, unsupported.
    EXPECT_EQ(copy(directory.write("notes.pages", "PK")), Case::inspectOnlyType);
    EXPECT_EQ(copy(directory.write("notes.txt", "hello")), Case::unsupportedFile);
    // An image name on bytes that are no image, and a file that is not there, are unreadable.
    EXPECT_EQ(inspect(directory.write("fake.png", "%PDF-1.7")), Case::unreadableFile);
    EXPECT_EQ(inspect(directory.path() / "missing.jpg"), Case::unreadableFile);
    EXPECT_EQ(inspect(directory.path()), Case::unsupportedFile);
}

}  // namespace
}  // namespace velquor::files
