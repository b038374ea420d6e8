#include "tests/core/files/office/OfficeTestFolder.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/office/XmlDocument.h"
#include "core/files/office/ZipArchive.h"
#include "tests/support/DocumentPackages.h"
#include "tests/support/ExternalTools.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/PackageOracles.h"
#include "tests/support/ReportRows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>

namespace velquor::files {
namespace {

using testing::archiveEntryNames;
using testing::archivePart;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using testing::Parts;
using Case = FileSanitizerError::Case;

class OpenDocumentPrivacyCopyTest : public testing::OfficeTestFolder {};

std::size_t elementCount(const std::string& xml, std::string_view localName) {
    const auto document = XmlDocument::parse(xml);
    const std::string_view names[] = {localName};
    return document.elementsNamed(names).size();
}

// What must be gone from every content and styles part of a copy: every trace of a change, a
// comment and the people behind them.
constexpr std::array<std::string_view, 9> forbiddenElements{"tracked-changes", "changed-region", "change-start",
                                                            "change-end",      "change",         "annotation",
                                                            "annotation-end",  "change-info",    "creator"};

// The exiftool tags that name people, dates, tools or editing statistics.
bool isPersonalTag(const std::string& name) {
    for (const auto* word : {"Creator", "Date", "Generator", "Editing", "Title", "User-defined", "Printed", "Author"}) {
        if (name.find(word) != std::string::npos && name.find("System:") != 0) return true;
    }
    return false;
}

void expectMimetypeFirstAndStored(const std::filesystem::path& copy, const std::string& mimetype) {
    const auto archive = ZipArchive::open(copy);
    const auto entries = archive.listEntries();
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.front().name, "mimetype");
    EXPECT_EQ(entries.front().compressionMethod, ArchiveEntry::stored);
    EXPECT_EQ(archive.readPart(entries.front()), mimetype);
    for (const auto& headers : testing::zipEntryHeaders(copy)) {
        // 1980-01-01 00:00 in DOS form, and no extra field in either header.
        EXPECT_EQ(headers.centralDate, (0 << 9) | (1 << 5) | 1) << headers.name;
        EXPECT_EQ(headers.centralTime, 0) << headers.name;
        EXPECT_EQ(headers.centralExtraBytes + headers.localExtraBytes, 0u) << headers.name;
    }
}

TEST_F(OpenDocumentPrivacyCopyTest, EveryFamilyComesOutWithoutItsTracesAndKeepsItsText) {
    const auto picture = testing::tinyPng();
    const struct {
        const char* name;
        Parts parts;
        const char* mimetype;
        std::vector<std::string> keptText;
        std::vector<std::string> goneText;
    } cases[] = {
        {"minutes.odt",
         testing::libreOfficeText(),
         "application/vnd.oasis.opendocument.text",
         {"Kept inserted text.", "Styled and body text.", "Linked terms"},
         {"gone words", "Check this", "terms.odt"}},
        {"sheet.ods",
         testing::libreOfficeSpreadsheet(),
         "application/vnd.oasis.opendocument.spreadsheet",
         {"Total", "42"},
         {"Source: my notes", "Ann Lee"}},
        {"slides.odp",
         testing::libreOfficePresentation(),
         "application/vnd.oasis.opendocument.presentation",
         {"Quarterly plan"},
         {"Too long", "vnd.sun.star.script"}},
        {"plan.odg",
         testing::libreOfficeDrawing(std::string(picture.begin(), picture.end())),
         "application/vnd.oasis.opendocument.graphics",
         {"Shape text", "Pictures/logo.png"},
         {"map.png", "Map"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto copy = exported(package(c.name, c.parts));
        const auto report = inspectReport(copy);
        EXPECT_FALSE(failsPrivacyVerification(copy, report)) << ::testing::PrintToString(testing::reportRows(report));
        EXPECT_FALSE(report.containsPersonalMetadata());

        const auto names = archiveEntryNames(copy);
        for (const auto* gone : {"meta.xml", "Thumbnails/thumbnail.png", "Basic/Standard/Module1.xml"}) {
            EXPECT_THAT(names, Not(Contains(gone)));
        }
        const auto content = archivePart(copy, "content.xml");
        for (const auto element : forbiddenElements) EXPECT_EQ(elementCount(content, element), 0u) << element;
        for (const auto& text : c.keptText) EXPECT_THAT(content, HasSubstr(text));
        for (const auto& text : c.goneText) EXPECT_THAT(content, Not(HasSubstr(text)));

        const auto manifest = archivePart(copy, "META-INF/manifest.xml");
        EXPECT_THAT(manifest, Not(HasSubstr("meta.xml")));
        EXPECT_THAT(manifest, Not(HasSubstr("Thumbnails/")));
        EXPECT_THAT(manifest, Not(HasSubstr("Basic/")));
        EXPECT_THAT(manifest, HasSubstr("\"content.xml\""));

        const auto settings = archivePart(copy, "settings.xml");
        EXPECT_THAT(settings, Not(HasSubstr("LaserJet")));
        EXPECT_THAT(settings, Not(HasSubstr("PrinterSetup")));
        EXPECT_THAT(settings, Not(HasSubstr("Customers")));
        EXPECT_THAT(settings, Not(HasSubstr("/home/jane")));
        EXPECT_THAT(settings, HasSubstr("AddParaTableSpacing")) << "layout settings stay";

        expectMimetypeFirstAndStored(copy, c.mimetype);
        EXPECT_TRUE(testing::archiveTestPasses(copy));
        std::vector<std::string> personal;
        for (const auto& [tag, value] : testing::exiftoolTags(copy)) {
            if (isPersonalTag(tag)) personal.push_back(tag + " = " + value);
        }
        EXPECT_THAT(personal, IsEmpty());
    }
}

TEST_F(OpenDocumentPrivacyCopyTest, EmbeddedObjectsAndTheirPropertiesAreCleanedToo) {
    auto parts = testing::libreOfficeText();
    parts["Object 1/content.xml"] = parts["content.xml"];
    parts["Object 1/meta.xml"] = testing::openDocumentMeta();
    parts["Object 1/settings.xml"] = testing::openDocumentSettings();
    parts["META-INF/manifest.xml"] = testing::openDocumentManifest("application/vnd.oasis.opendocument.text", parts);
    const auto copy = exported(package("object.odt", parts));
    const auto names = archiveEntryNames(copy);
    EXPECT_THAT(names, Not(Contains("Object 1/meta.xml")));
    EXPECT_EQ(elementCount(archivePart(copy, "Object 1/content.xml"), "annotation"), 0u);
    EXPECT_THAT(archivePart(copy, "Object 1/settings.xml"), Not(HasSubstr("LaserJet")));
    EXPECT_THAT(archivePart(copy, "META-INF/manifest.xml"), Not(HasSubstr("Object 1/meta.xml")));
}

// An externally linked picture goes with its frame; the stored one stays, without its GPS position.
TEST_F(OpenDocumentPrivacyCopyTest, AStoredPhotoStaysWithoutItsGpsPositionAndALinkedPictureGoes) {
    const auto photo = testing::makeTestImage(path() / "photo.jpg", "32x16", 1);
    testing::writeTags(photo, {"-GPSLatitude=51.5", "-GPSLatitudeRef=N", "-Artist=Jane Roe"});
    const auto bytes = testing::readBytes(photo);
    auto parts = testing::libreOfficeDrawing(std::string(bytes.begin(), bytes.end()));
    const auto copy = exported(package("photo.odg", parts));
    const auto content = archivePart(copy, "content.xml");
    EXPECT_THAT(content, Not(HasSubstr("draw:name=\"Linked\"")));
    EXPECT_THAT(content, HasSubstr("draw:name=\"Stored\""));
    ASSERT_THAT(archiveEntryNames(copy), Contains("Pictures/logo.png"));
    const auto cleaned = path() / "cleaned.png";
    const auto picture = archivePart(copy, "Pictures/logo.png");
    testing::writeBytes(cleaned, testing::bytesOf(picture));
    for (const auto& [tag, value] : testing::exiftoolTags(cleaned)) {
        EXPECT_THAT(tag, Not(HasSubstr("GPS")));
        EXPECT_THAT(value, Not(HasSubstr("Jane Roe")));
    }
}

TEST_F(OpenDocumentPrivacyCopyTest, ASignedDocumentIsRefusedAsSignedAndNothingIsWritten) {
    auto parts = testing::libreOfficeText();
    parts["META-INF/documentsignatures.xml"] = "<document-signatures/>";
    const auto source = package("signed.odt", parts);
    const auto destination = path() / "copy.odt";
    EXPECT_EQ(testing::errorOf([&] { createPrivacyCopy(source, destination); }), Case::signedDocument);
    EXPECT_FALSE(std::filesystem::exists(destination));
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(path())) {
        if (entry.is_regular_file()) files.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(files, std::vector<std::string>{"signed.odt"}) << "no staged file is left behind";
}

TEST_F(OpenDocumentPrivacyCopyTest, HostileArchivesGetTheRefusalsOfOfficeArchives) {
    using testing::RawZipEntry;
    const RawZipEntry mimetype{.name = "mimetype", .data = "application/vnd.oasis.opendocument.text"};
    const RawZipEntry content{.name = "content.xml", .data = "<office:document-content/>"};
    const struct {
        const char* name;
        std::vector<RawZipEntry> entries;
        Case expected;
    } cases[] = {
        {"traversal", {mimetype, {.name = "../content.xml", .data = "<x/>"}}, Case::unsafeArchiveEntry},
        {"symbolic link",
         {mimetype, content, {.name = "Pictures/a.png", .data = "/etc/passwd", .unixMode = 0120777}},
         Case::unsafeArchiveEntry},
        {"case collision", {mimetype, content, {.name = "Content.xml", .data = "<x/>"}}, Case::unsafeArchiveEntry},
        {"encrypted entry",
         {mimetype, {.name = "content.xml", .data = "<x/>", .encrypted = true}},
         Case::unreadableFile},
        {"size lie",
         {mimetype, testing::zeroFilledEntry("content.xml", 4'000'000, 100)},
         Case::archiveResourceLimitExceeded},
        {"declared bomb",
         {mimetype, {.name = "content.xml", .data = "<x/>", .declaredSize = 300'000'000}},
         Case::archiveResourceLimitExceeded},
        {"local name names another entry",
         {mimetype, content, {.name = "styles.xml", .data = "<x/>", .localName = "content.xml"}},
         Case::unsafeArchiveEntry},
        {"no entries", {}, Case::unreadableFile},
    };
    for (const auto& c : cases) {
        const auto file = path() / (std::string(c.name) + ".odt");
        testing::writeBytes(file, testing::bytesOf(testing::rawZip(c.entries)));
        EXPECT_EQ(testing::errorOf([&] { inspectReport(file); }), c.expected) << c.name;
        EXPECT_EQ(testing::errorOf([&] { createPrivacyCopy(file, path() / "copy.odt"); }), c.expected)
            << c.name << " (export)";
        EXPECT_FALSE(std::filesystem::exists(path() / "copy.odt")) << c.name;
    }
}

TEST_F(OpenDocumentPrivacyCopyTest, ASecondExportToTheSameDestinationIsRefused) {
    const auto source = package("minutes.odt", testing::libreOfficeText());
    const auto destination = path() / "copy.odt";
    createPrivacyCopy(source, destination);
    EXPECT_EQ(testing::errorOf([&] { createPrivacyCopy(source, destination); }), Case::destinationExists);
}

}  // namespace
}  // namespace velquor::files
