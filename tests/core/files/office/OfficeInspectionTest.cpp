#include "tests/core/files/office/OfficeTestFolder.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/office/OfficeArchiveInspector.h"
#include "core/files/office/OfficeInspection.h"
#include "core/files/office/OfficeText.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/ReportRows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

namespace velquor::files {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::Parts;
using testing::xmlPart;
using Row = testing::ReportRow;
using testing::reportRows;

class OfficeInspectionTest : public testing::OfficeTestFolder {
protected:
    FileMetadataReport inspect(const std::filesystem::path& file) { return OfficeArchiveInspector().inspect(file); }
};

TEST_F(OfficeInspectionTest, WordDocumentShowsPropertiesRevisionsCommentsLinksAndEmbeddedContent) {
    auto parts = testing::minimalWordDocument(
        "<w:ins w:id=\"1\" w:author=\"A\"><w:r><w:t>new</w:t></w:r></w:ins>"
        "<w:ins w:id=\"2\" w:author=\"A\"><w:r><w:t>more</w:t></w:r></w:ins>"
        "<w:del w:id=\"3\" w:author=\"A\"><w:r><w:delText>old</w:delText></w:r></w:del>"
        "<w:moveFrom w:id=\"4\"><w:r><w:t>m</w:t></w:r></w:moveFrom><w:moveTo "
        "w:id=\"5\"><w:r><w:t>m</w:t></w:r></w:moveTo>");
    parts["word/header2.xml"] = xmlPart(std::string("<w:hdr ") + testing::wordNamespaces +
                                        "><w:p><w:ins w:id=\"9\"><w:r><w:t>h</w:t></w:r></w:ins></w:p></w:hdr>");
    parts["docProps/core.xml"] = xmlPart(
        "<cp:coreProperties xmlns:cp=\"c\" xmlns:dc=\"d\" xmlns:dcterms=\"t\"><dc:creator>Jane &amp; Co</dc:creator>"
        "<cp:lastModifiedBy> John\n</cp:lastModifiedBy><dc:title></dc:title><cp:revision>7</cp:revision>"
        "</cp:coreProperties>");
    parts["docProps/app.xml"] = xmlPart(
        "<Properties xmlns=\"e\"><Application>Microsoft Office Word</Application>"
        "<Company>Acme</Company><Pages>2</Pages></Properties>");
    parts["docProps/thumbnail.jpeg"] = "\xFF\xD8\xFF";
    parts["word/comments.xml"] = xmlPart(std::string("<w:comments ") + testing::wordNamespaces +
                                         "><w:comment w:id=\"0\" w:author=\"A\"/><w:comment w:id=\"1\" w:author=\"B\"/>"
                                         "</w:comments>");
    parts["word/people.xml"] = xmlPart("<w15:people xmlns:w15=\"p\"/>");
    parts["word/_rels/document.xml.rels"] = xmlPart(
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"h\" Target=\"https://example.com/?a=1&amp;b=2\" TargetMode=\"External\"/>"
        "</Relationships>");
    parts["word/media/image1.PNG"] = "png";
    parts["word/media/image2.jpeg"] = "jpeg";
    parts["word/fonts/font1.odttf"] = "not counted";
    parts["word/fonts/font2.ttf"] = "ttf";
    parts["word/embeddings/oleObject1.bin"] = "ole";

    const auto report = inspect(package("report.docx", parts));
    EXPECT_EQ(report.fileName, u"report.docx");
    EXPECT_EQ(report.typeDescription, u"Word document archive");
    EXPECT_GT(report.byteCount, 0);
    EXPECT_FALSE(report.pixelSize);
    EXPECT_TRUE(report.containsPersonalMetadata());
    EXPECT_THAT(
        reportRows(report),
        ElementsAre(Row{u"Embedded", u"Fonts", u"1"}, Row{u"Embedded", u"Images", u"2"},
                    Row{u"Embedded", u"Objects/blobs", u"1"}, Row{u"Office", u"App properties", u"docProps/app.xml"},
                    Row{u"Office", u"Application", u"Microsoft Office Word"}, Row{u"Office", u"Author", u"Jane & Co"},
                    Row{u"Office", u"Comments", u"2 in word/comments.xml"}, Row{u"Office", u"Company", u"Acme"},
                    Row{u"Office", u"Core properties", u"docProps/core.xml"},
                    Row{u"Office", u"Embedded thumbnail", u"docProps/thumbnail.jpeg"},
                    Row{u"Office", u"External links", u"https://example.com/?a=1&b=2"},
                    Row{u"Office", u"Last modified by", u"John"}, Row{u"Office", u"Pages", u"2"},
                    Row{u"Office", u"Revision count", u"7"}, Row{u"Word", u"Comments part", u"word/comments.xml"},
                    Row{u"Word", u"People metadata", u"word/people.xml"}, Row{u"Word", u"Tracked deletions", u"1"},
                    Row{u"Word", u"Tracked insertions", u"3"}, Row{u"Word", u"Tracked moves", u"2"}));
    std::set<std::u16string> ids;
    for (const auto& entry : report.entries) EXPECT_TRUE(ids.insert(entry.id).second);
}

TEST_F(OfficeInspectionTest, CommentPartsCountTheirCommentsInEveryFamily) {
    const Parts parts = {
        {"ppt/comments/comment1.xml",
         "<p:cmLst xmlns:p=\"p\"><p:cm authorId=\"0\"/><p:cm authorId=\"1\"></p:cm></p:cmLst>"},
        {"xl/comments1.xml",
         "<comments><authors/><commentList><comment ref=\"A1\"/><comment ref=\"B2\"/>"
         "<comment ref=\"C3\"/></commentList></comments>"},
        {"[Content_Types].xml", "<Types/>"},
    };
    const auto report = inspect(package("deck.pptx", parts));
    EXPECT_THAT(reportRows(report), ElementsAre(Row{u"Office", u"Comments", u"2 in ppt/comments/comment1.xml"},
                                                Row{u"Office", u"Comments", u"3 in xl/comments1.xml"}));
}

TEST_F(OfficeInspectionTest, LinksShowTheFirstThreeTargetsOfAFileWithAnExternalOne) {
    const Parts parts = {
        {"word/_rels/document.xml.rels",
         "<Relationships><Relationship Id=\"1\" Target=\"styles.xml\"/><Relationship Id=\"2\" "
         "Target=\"https://example.com/x\" TargetMode=\"External\"/><Relationship Id=\"3\" Target=\"theme.xml\"/>"
         "<Relationship Id=\"4\" Target=\"fonts.xml\"/></Relationships>"},
        {"_rels/.rels", "<Relationships><Relationship Id=\"1\" Target=\"word/document.xml\"/></Relationships>"},
    };
    EXPECT_THAT(reportRows(inspect(package("links.docx", parts))),
                ElementsAre(Row{u"Office", u"External links", u"styles.xml, https://example.com/x, theme.xml"}));
}

TEST_F(OfficeInspectionTest, PropertiesPastTheReadCapAreNotReported) {
    const std::string padding(1'000'000, ' ');
    const Parts parts = {
        {"docProps/core.xml", "<cp:coreProperties><dc:title>Early</dc:title>" + padding +
                                  "<dc:creator>Late</dc:creator></cp:coreProperties>"},
    };
    EXPECT_THAT(
        reportRows(inspect(package("big.docx", parts))),
        ElementsAre(Row{u"Office", u"Core properties", u"docProps/core.xml"}, Row{u"Office", u"Title", u"Early"}));
}

TEST_F(OfficeInspectionTest, IWorkDocumentsShowTheirBinaryPartsAndMetadata) {
    const Parts parts = {
        {"Index/Document.iwa", "x"},
        {"Index/Tables/DataList.iwa", "y"},
        {"Data/Index/Not.iwa", "not counted"},
        {"Metadata/Properties.plist", "plist"},
        {"preview.jpg", "jpg"},
    };
    const auto report = inspect(package("Essay.pages", parts));
    EXPECT_EQ(report.typeDescription, u"Pages document archive");
    EXPECT_THAT(reportRows(report), ElementsAre(Row{u"iWork", u"IWA document parts", u"2 binary parts"},
                                                Row{u"iWork", u"Metadata plist", u"Metadata/Properties.plist"}));
    EXPECT_THAT(reportRows(inspectReport(package("Slides.KEY", parts))), ::testing::SizeIs(2));
    // Inspected, but never copied: the refusal says so rather than calling the file unsupported.
    const auto copyError = [&](const std::filesystem::path& file) {
        return testing::errorOf([&] { OfficeArchiveInspector().exportPrivacyCopy(file, path() / "copy"); });
    };
    EXPECT_EQ(copyError(path() / "Essay.pages"), FileSanitizerError::Case::inspectOnlyType);
    EXPECT_EQ(copyError(path() / "notes.txt"), FileSanitizerError::Case::unsupportedFile);
    EXPECT_FALSE(std::filesystem::exists(path() / "copy"));
}

TEST_F(OfficeInspectionTest, PlainDocumentHasNoEntries) {
    const auto report = inspect(package("plain.docx", testing::minimalWordDocument("<w:r><w:t>Hi</w:t></w:r>")));
    EXPECT_THAT(report.entries, IsEmpty());
    EXPECT_FALSE(report.containsPersonalMetadata());
}

TEST_F(OfficeInspectionTest, FileNamesThatLookLikePatternsNameOnlyThemselves) {
    // A reader that took "[1]" in an archive name as a pattern would also match "Report 1.docx".
    package("Report 1.docx", {{"docProps/core.xml", "<c><dc:creator>Wrong file</dc:creator></c>"}});
    const auto right =
        package("Report [1].docx", {{"docProps/core.xml", "<c><dc:creator>Right file</dc:creator></c>"}});
    EXPECT_THAT(reportRows(inspect(right)), ElementsAre(Row{u"Office", u"Author", u"Right file"},
                                                        Row{u"Office", u"Core properties", u"docProps/core.xml"}));
}

TEST_F(OfficeInspectionTest, WhatIsNoArchiveIsUnreadableAndOtherNamesUnsupported) {
    const auto notZip = path() / "fake.docx";
    std::ofstream(notZip) << "this is no zip archive";
    const auto folder = path() / "folder.docx";
    std::filesystem::create_directory(folder);
    const auto fifo = path() / "pipe.xlsx";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto empty = path() / "empty.docx";
    std::ofstream(empty, std::ios::binary) << testing::rawZip({});

    for (const auto& file : {notZip, folder, fifo, empty}) {
        EXPECT_EQ(testing::errorOf([&] { inspect(file); }), FileSanitizerError::Case::unreadableFile) << file;
    }
    EXPECT_THROW(inspect(path() / "missing.docx"), std::system_error);
    EXPECT_EQ(testing::errorOf([&] { inspect(path() / "notes.txt"); }), FileSanitizerError::Case::unsupportedFile);
}

TEST(OfficeTextTest, XmlValueReadsTheFirstElementAsText) {
    const struct {
        std::u16string_view name;
        std::u16string_view xml;
        std::optional<std::u16string> value;
    } cases[] = {
        {u"dc:creator", u"<dc:creator>Jane &amp; Co</dc:creator>", u"Jane & Co"},
        {u"dc:creator", u"<dc:creator xml:lang=\"en\">\n  A <b>bold</b> name \n</dc:creator>", u"A bold name"},
        {u"dc:creator", u"<DC:CREATOR>Upper</DC:CREATOR>", u"Upper"},
        {u"dc:creator", u"<dc:creator>one</dc:creator><dc:creator>two</dc:creator>", u"one"},
        {u"dc:creator", u"<dc:creatorName>no</dc:creatorName>", std::nullopt},
        {u"dc:creator", u"<dc:creator/>", std::nullopt},
        {u"Company", u"<Company>&amp;lt;tag&amp;gt; &quot;q&quot; &apos;a&apos;</Company>", u"&lt;tag&gt; \"q\" 'a'"},
        {u"a.b", u"<axb>wrong</axb><a.b>right</a.b>", u"right"},
    };
    for (const auto& testCase : cases) {
        EXPECT_EQ(xmlValue(testCase.name, testCase.xml), testCase.value)
            << std::string(testCase.xml.begin(), testCase.xml.end());
    }
}

TEST(OfficeTextTest, ResidueRuleSparesCountsAndEmbeddedContent) {
    const struct {
        std::u16string section;
        std::u16string name;
        bool residue;
    } cases[] = {
        {u"Office", u"External links", true}, {u"Word", u"Tracked moves", true},     {u"Office", u"Comments", true},
        {u"Excel", u"People metadata", true}, {u"Office", u"Total edit time", true}, {u"Office", u"Pages", false},
        {u"Office", u"Words", false},         {u"Embedded", u"Images", false},       {u"iWork", u"Author", false},
        {u"Embedded", u"Title", false},
    };
    for (const auto& testCase : cases) {
        FileMetadataReport report;
        report.entries.push_back({u"id", testCase.section, testCase.name, u"v"});
        EXPECT_EQ(containsExportPrivacyResidue(report), testCase.residue)
            << std::string(testCase.name.begin(), testCase.name.end());
    }
}

}  // namespace
}  // namespace velquor::files
