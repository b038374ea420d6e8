#include "tests/core/files/office/OfficeTestFolder.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/opendocument/OpenDocumentInspector.h"
#include "tests/support/DocumentPackages.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/ReportRows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace velquor::files {
namespace {

using ::testing::Contains;
using ::testing::IsSupersetOf;
using ::testing::Not;
using testing::Parts;
using testing::ReportRow;
using Case = FileSanitizerError::Case;

class OpenDocumentInspectionTest : public testing::OfficeTestFolder {};

std::vector<std::u16string> rowNames(const FileMetadataReport& report) {
    std::vector<std::u16string> names;
    for (const auto& entry : report.entries) names.push_back(entry.name);
    return names;
}

TEST_F(OpenDocumentInspectionTest, ALibreOfficeTextShowsItsPropertiesChangesCommentsSettingsAndLinks) {
    const auto report = inspectReport(package("minutes.odt", testing::libreOfficeText()));
    EXPECT_EQ(report.typeDescription, u"OpenDocument text");
    const std::vector<ReportRow> expected = {
        {u"OpenDocument", u"Initial creator", u"Jane Roe"},
        {u"OpenDocument", u"Creator", u"John Doe"},
        {u"OpenDocument", u"Created", u"2024-01-01T09:00:00.123"},
        {u"OpenDocument", u"Modified", u"2024-02-01T17:30:00.456"},
        {u"OpenDocument", u"Editing cycles", u"12"},
        {u"OpenDocument", u"Editing duration", u"PT3H20M"},
        {u"OpenDocument", u"Generator", u"LibreOffice/7.4.7.2$Linux_X86_64 LibreOffice_project/40$Build-2"},
        {u"OpenDocument", u"Title", u"Budget 2024"},
        {u"OpenDocument", u"Keywords", u"budget"},
        {u"OpenDocument", u"Language", u"en-GB"},
        {u"OpenDocument", u"User-defined field", u"Client: Acme & Co"},
        {u"OpenDocument", u"Statistics", u"page-count 1, word-count 6"},
        {u"OpenDocument", u"Document properties", u"meta.xml"},
        {u"OpenDocument", u"Tracked insertions", u"1"},
        {u"OpenDocument", u"Tracked deletions", u"1"},
        {u"OpenDocument", u"Tracked format changes", u"1"},
        {u"OpenDocument", u"Change recording", u"On"},
        {u"OpenDocument", u"Change authors", u"Jane Roe, John Doe"},
        {u"OpenDocument", u"Comments", u"1 in content.xml"},
        {u"OpenDocument", u"Comment authors", u"Jane Roe"},
        {u"OpenDocument", u"Comment dates", u"2024-01-05T13:00:00"},
        {u"OpenDocument", u"External links", u"file:///home/jane/terms.odt"},
        {u"OpenDocument", u"Printer", u"Jane's LaserJet"},
        {u"OpenDocument", u"Printer set-up", u"Stored"},
        {u"OpenDocument", u"Data sources", u"Customers"},
        {u"OpenDocument", u"Paths in settings", u"EmbeddedFontsPath: file:///home/jane/fonts"},
        {u"OpenDocument", u"Type", u"application/vnd.oasis.opendocument.text"},
        {u"Preview", u"Embedded thumbnail", u"Thumbnails/thumbnail.png"},
    };
    EXPECT_THAT(testing::reportRows(report), IsSupersetOf(expected));
    EXPECT_EQ(report.entries.size(), expected.size()) << ::testing::PrintToString(testing::reportRows(report));
    EXPECT_TRUE(report.containsPersonalMetadata());
    EXPECT_TRUE(failsPrivacyVerification("minutes.odt", report));
}

TEST_F(OpenDocumentInspectionTest, SpreadsheetPresentationAndDrawingShowTheirOwnTraces) {
    const auto picture = testing::tinyPng();
    const struct {
        const char* name;
        Parts parts;
        std::u16string type;
        std::vector<ReportRow> rows;
    } cases[] = {
        {"sheet.ods",
         testing::libreOfficeSpreadsheet(),
         u"OpenDocument spreadsheet",
         {{u"OpenDocument", u"Comments", u"1 in content.xml"},
          {u"OpenDocument", u"Comment authors", u"Ann Lee"},
          {u"OpenDocument", u"Tracked cell changes", u"1"},
          {u"OpenDocument", u"Change authors", u"Ann Lee"}}},
        {"slides.odp",
         testing::libreOfficePresentation(),
         u"OpenDocument presentation",
         {{u"OpenDocument", u"Comments", u"1 in content.xml"},
          {u"OpenDocument", u"Comment authors", u"Max Mustermann"},
          {u"OpenDocument", u"Macro bindings", u"1"},
          {u"OpenDocument", u"Macros", u"2 parts"},
          {u"Preview", u"Embedded thumbnail", u"Thumbnails/thumbnail.png"}}},
        {"plan.odg",
         testing::libreOfficeDrawing(std::string(picture.begin(), picture.end())),
         u"OpenDocument drawing",
         {{u"OpenDocument", u"External links", u"../../home/jane/Pictures/map.png"}, {u"Embedded", u"Images", u"1"}}},
    };
    for (const auto& c : cases) {
        const auto report = inspectReport(package(c.name, c.parts));
        EXPECT_EQ(report.typeDescription, c.type) << c.name;
        EXPECT_THAT(testing::reportRows(report), IsSupersetOf(c.rows)) << c.name;
    }
}

TEST_F(OpenDocumentInspectionTest, TemplatesAreTheirOwnTypesAndOnlyOpenDocumentExtensionsAreClaimed) {
    const struct {
        const char* name;
        const char16_t* type;
    } cases[] = {
        {"a.ott", u"OpenDocument text template"},         {"a.ots", u"OpenDocument spreadsheet template"},
        {"a.otp", u"OpenDocument presentation template"}, {"a.OTG", u"OpenDocument drawing template"},
        {"a.ODS", u"OpenDocument spreadsheet"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(OpenDocumentInspector::isSupported(c.name)) << c.name;
        EXPECT_TRUE(isExportable(c.name)) << c.name;
        EXPECT_EQ(OpenDocumentInspector::typeDescription(c.name), c.type) << c.name;
    }
    for (const auto* other : {"a.odf", "a.odb", "a.fodt", "a.sxw", "odt"}) {
        EXPECT_FALSE(OpenDocumentInspector::isSupported(other)) << other;
    }
}

TEST_F(OpenDocumentInspectionTest, SignaturesMacroSignaturesAndEmbeddedObjectsAreListed) {
    auto parts = testing::libreOfficeText();
    parts["META-INF/documentsignatures.xml"] = "<document-signatures/>";
    parts["META-INF/macrosignatures.xml"] = "<document-signatures/>";
    parts["Object 1/content.xml"] = parts["content.xml"];
    parts["Object 1/meta.xml"] = testing::openDocumentMeta();
    parts["ObjectReplacements/Object 1"] = "replacement";
    const auto report = inspectReport(package("signed.odt", parts));
    EXPECT_THAT(testing::reportRows(report),
                IsSupersetOf(std::vector<ReportRow>{
                    {u"OpenDocument", u"Digital signature", u"META-INF/documentsignatures.xml"},
                    {u"OpenDocument", u"Macro signature", u"META-INF/macrosignatures.xml"},
                    {u"OpenDocument", u"Document properties", u"Object 1/meta.xml"},
                    {u"OpenDocument", u"Comments", u"1 in Object 1/content.xml"},
                    {u"Embedded", u"Objects", u"1"},
                }));
    // The object's meta.xml names the same people: each row appears once, with a unique id.
    std::vector<std::u16string> ids;
    for (const auto& entry : report.entries) ids.push_back(entry.id);
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end());
}

TEST_F(OpenDocumentInspectionTest, AnEmbeddedPhotoWithGpsIsListedUnderEmbedded) {
    const auto photo = testing::makeTestImage(path() / "photo.jpg", "32x16", 1);
    testing::writeTags(photo, {"-GPSLatitude=51.5", "-GPSLatitudeRef=N", "-Artist=Jane Roe"});
    const auto bytes = testing::readBytes(photo);
    auto parts = testing::libreOfficeDrawing(std::string(bytes.begin(), bytes.end()));
    parts["Pictures/photo.jpg"] = parts["Pictures/logo.png"];
    parts.erase("Pictures/logo.png");
    const auto report = inspectReport(package("photo.odg", parts));
    const auto rows = rowNames(report);
    EXPECT_THAT(rows, Contains(u"Metadata in Pictures/photo.jpg"));
}

TEST_F(OpenDocumentInspectionTest, ACleanDocumentShowsOnlyWhatAReaderNeeds) {
    Parts parts;
    parts["content.xml"] = testing::xmlPart("<office:document-content " + std::string(testing::openDocumentNamespaces) +
                                            "><office:body><office:text><text:p>Plain</text:p></office:text>"
                                            "</office:body></office:document-content>");
    parts["mimetype"] = "application/vnd.oasis.opendocument.text";
    parts["META-INF/manifest.xml"] = testing::openDocumentManifest("application/vnd.oasis.opendocument.text", parts);
    const auto report = inspectReport(package("plain.odt", parts));
    EXPECT_EQ(testing::reportRows(report),
              (std::vector<ReportRow>{{u"OpenDocument", u"Type", u"application/vnd.oasis.opendocument.text"}}));
    EXPECT_FALSE(failsPrivacyVerification("plain.odt", report));
    EXPECT_FALSE(report.containsPersonalMetadata());
}

TEST_F(OpenDocumentInspectionTest, UnreadablePartsAndPasswordProtectionAreRefusedButABrokenMetaOnlyLosesItsValues) {
    auto brokenContent = testing::libreOfficeText();
    brokenContent["content.xml"] = "<office:document-content><unclosed>";
    auto entity = testing::libreOfficeText();
    entity["settings.xml"] = "<!DOCTYPE x [<!ENTITY a \"aaaa\">]><x>&a;</x>";
    auto encrypted = testing::libreOfficeText();
    encrypted["META-INF/manifest.xml"] =
        "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\">"
        "<manifest:file-entry manifest:full-path=\"content.xml\"><manifest:encryption-data/></manifest:file-entry>"
        "</manifest:manifest>";
    for (const auto& [name, parts] : {std::pair{"broken.odt", brokenContent}, std::pair{"entity.odt", entity},
                                      std::pair{"encrypted.odt", encrypted}}) {
        EXPECT_EQ(testing::errorOf([&] { inspectReport(package(name, parts)); }), Case::unreadableFile) << name;
    }
    auto brokenMeta = testing::libreOfficeText();
    brokenMeta["meta.xml"] = "<office:document-meta>";
    const auto report = inspectReport(package("meta.odt", brokenMeta));
    EXPECT_THAT(testing::reportRows(report), Contains(ReportRow{u"OpenDocument", u"Document properties", u"meta.xml"}));
    EXPECT_THAT(rowNames(report), Not(Contains(u"Creator")));
}

}  // namespace
}  // namespace velquor::files
