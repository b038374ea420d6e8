#include "tests/core/files/office/OfficeTestFolder.h"

#include "core/files/office/OfficeArchiveInspector.h"
#include "tests/support/ExternalTools.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/ReportRows.h"
#include "tests/support/PackageOracles.h"
#include "tests/support/SmallFileSystem.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <ctime>
#include <optional>
#include <random>

namespace velquor::files {
namespace {

using ::testing::AnyOf;
using testing::archiveEntryNames;
using testing::archivePart;
using testing::archiveTestPasses;
using testing::canonicalXml;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using testing::Parts;
using testing::wordNamespaces;
using testing::xmlPart;
using Case = FileSanitizerError::Case;

const std::string relationshipsNamespace = "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"";
const std::string typesNamespace = "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"";

std::string relationship(const std::string& id, const std::string& target, bool external = false) {
    return "<Relationship Id=\"" + id +
           "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/x\" Target=\"" + target +
           "\"" + (external ? " TargetMode=\"External\"" : "") + "/>";
}

std::string relationships(const std::string& items) {
    return xmlPart("<Relationships " + relationshipsNamespace + ">" + items + "</Relationships>");
}

std::string overrides(const std::vector<std::string>& parts) {
    std::string items = "<Default Extension=\"xml\" ContentType=\"application/xml\"/>";
    for (const auto& part : parts) items += "<Override PartName=\"/" + part + "\" ContentType=\"application/x\"/>";
    return xmlPart("<Types " + typesNamespace + ">" + items + "</Types>");
}

Parts documentProperties() {
    return {
        {"docProps/core.xml",
         xmlPart(
             "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
             "xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:creator>Jane Roe</dc:creator>"
             "<cp:lastModifiedBy>John Doe</cp:lastModifiedBy><dc:title>Budget</dc:title></cp:coreProperties>")},
        {"docProps/app.xml",
         xmlPart("<Properties xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\">"
                 "<Template>Jane.dotm</Template><Company>Acme Corp</Company><Manager>Max</Manager></Properties>")},
        {"docProps/custom.xml",
         xmlPart("<Properties xmlns=\"urn:c\"><property name=\"Client\">Secret</property></Properties>")},
        {"docProps/thumbnail.jpeg", "\xFF\xD8\xFF\xE0thumbnail"},
    };
}

const std::string packageRelationships =
    relationships(relationship("rId1", "word/document.xml") + relationship("rId2", "docProps/core.xml") +
                  relationship("rId3", "docProps/app.xml") + relationship("rId4", "docProps/custom.xml") +
                  relationship("rId5", "docProps/thumbnail.jpeg"));

// Everything Word records about who changed what, in one document.
const std::string revisedBody =
    "<w:body><w:p w:rsidR=\"00A1\" w:rsidRDefault=\"00B2\"><w:pPr><w:rPr><w:ins w:id=\"20\" w:author=\"Jane Roe\" "
    "w:date=\"2024-01-01T00:00:00Z\"/></w:rPr><w:pPrChange w:id=\"21\" w:author=\"Jane "
    "Roe\"><w:pPr/></w:pPrChange></w:pPr>"
    "<w:r w:rsidRPr=\"00C3\"><w:t xml:space=\"preserve\">Kept </w:t></w:r>"
    "<w:ins w:id=\"1\" w:author=\"Jane Roe\" w:date=\"2024-01-01T00:00:00Z\"><w:r><w:t>inserted</w:t></w:r></w:ins>"
    "<w:del w:id=\"2\" w:author=\"Jane Roe\"><w:r><w:delText>deleted</w:delText></w:r></w:del>"
    "<w:commentRangeStart w:id=\"0\"/><w:hyperlink r:id=\"rId4\" w:history=\"1\"><w:r><w:t> "
    "linked</w:t></w:r></w:hyperlink>"
    "<w:commentRangeEnd w:id=\"0\"/><w:r><w:commentReference w:id=\"0\"/></w:r>"
    "<w:moveFromRangeStart w:id=\"5\" w:author=\"Jane Roe\" w:name=\"move1\"/>"
    "<w:moveFrom w:id=\"6\" w:author=\"Jane Roe\"><w:r><w:t>moved away</w:t></w:r></w:moveFrom>"
    "<w:moveFromRangeEnd w:id=\"5\"/><w:moveToRangeStart w:id=\"7\" w:author=\"Jane Roe\" w:name=\"move1\"/>"
    "<w:moveTo w:id=\"8\" w:author=\"Jane Roe\"><w:r><w:t> moved here</w:t></w:r></w:moveTo><w:moveToRangeEnd "
    "w:id=\"7\"/>"
    "<w:customXmlInsRangeStart w:id=\"9\" w:author=\"Jane Roe\"/><w:customXmlInsRangeEnd w:id=\"9\"/>"
    "<w:ins w:id=\"10\" w:author=\"Jane Roe\" xmlns:x=\"urn:x\"><w:r x:mark=\"1\"><w:t>!</w:t></w:r></w:ins></w:p>"
    "<w:tbl><w:tr w:rsidR=\"00D4\"><w:trPr><w:ins w:id=\"11\" w:author=\"Jane Roe\"/></w:trPr><w:tc><w:tcPr>"
    "<w:cellMerge w:id=\"12\" w:author=\"Jane Roe\" w:vMerge=\"rest\"/></w:tcPr><w:p><w:r><w:t>cell</w:t></w:r></w:p>"
    "</w:tc></w:tr></w:tbl><w:sectPr w:rsidR=\"00E5\"/></w:body>";

const std::string acceptedBody =
    "<w:body><w:p><w:pPr><w:rPr/></w:pPr><w:r><w:t xml:space=\"preserve\">Kept "
    "</w:t></w:r><w:r><w:t>inserted</w:t></w:r>"
    "<w:r><w:t> linked</w:t></w:r><w:r/><w:r><w:t> moved here</w:t></w:r>"
    "<w:r xmlns:x=\"urn:x\" x:mark=\"1\"><w:t>!</w:t></w:r></w:p>"
    "<w:tbl><w:tr><w:trPr/><w:tc><w:tcPr/><w:p><w:r><w:t>cell</w:t></w:r></w:p></w:tc></w:tr></w:tbl><w:sectPr/></"
    "w:body>";

// Markup that must come through untouched: comments, processing instructions, CDATA,
// whitespace, prefixes, attribute order, references.
const std::string untouchedStyles =
    xmlPart("<!-- styles --><w:styles " + std::string(wordNamespaces) +
            " xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\" mc:Ignorable=\"w14\">\n"
            "  <?velquor keep?>\n  <w:style w:type='paragraph' w:styleId=\"Normal\" w:default=\"1\"><w:name "
            "w:val=\"Normal\"></w:name>"
            "<w:rPr><w:rFonts w:ascii=\"A &amp; B\" w:hAnsi=\"&#67;\"/></w:rPr></w:style>\n"
            "  <w:latentStyles><![CDATA[ <raw> & ]]></w:latentStyles>\t\n</w:styles>");

Parts revisedWordDocument() {
    auto parts = documentProperties();
    parts["[Content_Types].xml"] = overrides(
        {"word/document.xml", "word/comments.xml", "word/commentsExtended.xml", "word/people.xml", "word/settings.xml",
         "word/styles.xml", "word/header1.xml", "docProps/core.xml", "docProps/app.xml", "docProps/custom.xml"});
    parts["_rels/.rels"] = packageRelationships;
    parts["word/document.xml"] =
        xmlPart("<w:document " + std::string(wordNamespaces) + ">" + revisedBody + "</w:document>");
    parts["word/_rels/document.xml.rels"] = relationships(
        relationship("rId1", "comments.xml") + relationship("rId2", "commentsExtended.xml") +
        relationship("rId3", "people.xml") + relationship("rId4", "https://example.com/private?id=7", true) +
        relationship("rId5", "settings.xml") + relationship("rId6", "styles.xml") +
        relationship("rId7", "header1.xml"));
    parts["word/comments.xml"] = xmlPart("<w:comments " + std::string(wordNamespaces) +
                                         "><w:comment w:id=\"0\" w:author=\"Jane Roe\" w:initials=\"JR\"><w:p><w:r>"
                                         "<w:t>Check this</w:t></w:r></w:p></w:comment></w:comments>");
    parts["word/commentsExtended.xml"] = xmlPart("<w15:commentsEx xmlns:w15=\"urn:w15\"/>");
    parts["word/people.xml"] =
        xmlPart("<w15:people xmlns:w15=\"urn:w15\"><w15:person w15:author=\"Jane Roe\"/></w15:people>");
    parts["word/settings.xml"] =
        xmlPart("<w:settings " + std::string(wordNamespaces) +
                "><w:trackRevisions/><w:attachedTemplate r:id=\"rId1\"/><w:docVars><w:docVar w:name=\"v\" w:val=\"x\"/>"
                "</w:docVars><w:rsids><w:rsidRoot w:val=\"00A1\"/></w:rsids><w:zoom w:percent=\"100\"/></w:settings>");
    parts["word/_rels/settings.xml.rels"] =
        relationships(relationship("rId1", "file:///C:/Users/jroe/Templates/Jane.dotm", true));
    parts["word/styles.xml"] = untouchedStyles;
    parts["word/header1.xml"] = xmlPart("<w:hdr " + std::string(wordNamespaces) +
                                        "><w:p><w:del w:id=\"30\" w:author=\"Jane Roe\"><w:r><w:delText>old header"
                                        "</w:delText></w:r></w:del><w:r><w:t>Header</w:t></w:r></w:p></w:hdr>");
    return parts;
}

// The tag names exiftool reads from a file, zip entries and Office properties included.
std::vector<std::string> exiftoolTagNames(const std::filesystem::path& file) {
    std::vector<std::string> names;
    for (const auto& [name, value] : testing::exiftoolTags(file)) names.push_back(name);
    return names;
}

class OfficePrivacyExportTest : public testing::OfficeTestFolder {};

TEST_F(OfficePrivacyExportTest, WordCopyAcceptsRevisionsAndDropsEveryPersonalTrace) {
    const auto source = package("report.docx", revisedWordDocument());
    ASSERT_TRUE(containsExportPrivacyResidue(OfficeArchiveInspector().inspect(source)));
    const auto copy = exported(source);

    EXPECT_TRUE(archiveTestPasses(copy));
    EXPECT_THAT(archiveEntryNames(copy),
                ElementsAre("[Content_Types].xml", "_rels/.rels", "word/_rels/document.xml.rels",
                            "word/_rels/settings.xml.rels", "word/document.xml", "word/header1.xml",
                            "word/settings.xml", "word/styles.xml"));
    EXPECT_EQ(canonicalXml(archivePart(copy, "word/document.xml")),
              canonicalXml("<w:document " + std::string(wordNamespaces) + ">" + acceptedBody + "</w:document>"));
    EXPECT_EQ(canonicalXml(archivePart(copy, "word/styles.xml")), canonicalXml(untouchedStyles));
    EXPECT_EQ(canonicalXml(archivePart(copy, "word/settings.xml")),
              canonicalXml("<w:settings " + std::string(wordNamespaces) + "><w:zoom w:percent=\"100\"/></w:settings>"));
    EXPECT_EQ(
        canonicalXml(archivePart(copy, "word/header1.xml")),
        canonicalXml("<w:hdr " + std::string(wordNamespaces) + "><w:p><w:r><w:t>Header</w:t></w:r></w:p></w:hdr>"));
    EXPECT_EQ(canonicalXml(archivePart(copy, "word/_rels/document.xml.rels")),
              canonicalXml(relationships(relationship("rId5", "settings.xml") + relationship("rId6", "styles.xml") +
                                         relationship("rId7", "header1.xml"))));
    EXPECT_EQ(canonicalXml(archivePart(copy, "_rels/.rels")),
              canonicalXml(relationships(relationship("rId1", "word/document.xml"))));
    EXPECT_EQ(
        canonicalXml(archivePart(copy, "[Content_Types].xml")),
        canonicalXml(overrides({"word/document.xml", "word/settings.xml", "word/styles.xml", "word/header1.xml"})));
    for (const auto& name : archiveEntryNames(copy)) {
        EXPECT_THAT(archivePart(copy, name), Not(HasSubstr("author"))) << name;
        EXPECT_THAT(archivePart(copy, name), Not(HasSubstr("Jane"))) << name;
    }

    EXPECT_THAT(OfficeArchiveInspector().inspect(copy).entries, IsEmpty());
    const auto tags = exiftoolTagNames(copy);
    EXPECT_THAT(tags, Contains("ZIP:ZipFileName"));  // exiftool did read the archive
    for (const auto* tag : {"Creator", "LastModifiedBy", "Company", "Template", "Manager", "Title"}) {
        EXPECT_THAT(tags, Not(Contains(EndsWith(std::string(":") + tag)))) << tag;
    }
    EXPECT_THAT(exiftoolTagNames(source), Contains(EndsWith(":LastModifiedBy")));  // the oracle sees them in the source
}

TEST_F(OfficePrivacyExportTest, PresentationCopyLosesCommentsAuthorsAndLinks) {
    auto parts = documentProperties();
    parts["[Content_Types].xml"] = overrides({"ppt/presentation.xml", "ppt/slides/slide1.xml", "ppt/commentAuthors.xml",
                                              "ppt/comments/comment1.xml", "docProps/core.xml"});
    parts["_rels/.rels"] = packageRelationships;
    parts["ppt/presentation.xml"] = xmlPart("<p:presentation xmlns:p=\"urn:p\"/>");
    parts["ppt/_rels/presentation.xml.rels"] =
        relationships(relationship("rId1", "slides/slide1.xml") + relationship("rId2", "commentAuthors.xml"));
    parts["ppt/commentAuthors.xml"] =
        xmlPart("<p:cmAuthorLst xmlns:p=\"urn:p\"><p:cmAuthor name=\"Jane Roe\"/></p:cmAuthorLst>");
    parts["ppt/comments/comment1.xml"] =
        xmlPart("<p:cmLst xmlns:p=\"urn:p\"><p:cm authorId=\"0\"><p:text>Hi</p:text></p:cm></p:cmLst>");
    parts["ppt/slides/slide1.xml"] = xmlPart(
        "<p:sld xmlns:p=\"urn:p\" xmlns:a=\"urn:a\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
        "<a:r><a:rPr lang=\"en-US\"><a:hlinkClick r:id=\"rId2\"/></a:rPr><a:t>Visit us</a:t></a:r></p:sld>");
    parts["ppt/slides/_rels/slide1.xml.rels"] = relationships(relationship("rId1", "../comments/comment1.xml") +
                                                              relationship("rId2", "https://example.com/", true));
    const auto copy = exported(package("deck.pptx", parts));

    EXPECT_THAT(archiveEntryNames(copy),
                ElementsAre("[Content_Types].xml", "_rels/.rels", "ppt/_rels/presentation.xml.rels",
                            "ppt/presentation.xml", "ppt/slides/_rels/slide1.xml.rels", "ppt/slides/slide1.xml"));
    EXPECT_EQ(canonicalXml(archivePart(copy, "ppt/slides/slide1.xml")),
              canonicalXml("<p:sld xmlns:p=\"urn:p\" xmlns:a=\"urn:a\" "
                           "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
                           "<a:r><a:rPr lang=\"en-US\"/><a:t>Visit us</a:t></a:r></p:sld>"));
    EXPECT_EQ(canonicalXml(archivePart(copy, "ppt/_rels/presentation.xml.rels")),
              canonicalXml(relationships(relationship("rId1", "slides/slide1.xml"))));
    EXPECT_THAT(archivePart(copy, "[Content_Types].xml"), Not(HasSubstr("comment")));
    EXPECT_THAT(OfficeArchiveInspector().inspect(copy).entries, IsEmpty());
}

TEST_F(OfficePrivacyExportTest, WorkbookCopyLosesThreadedCommentsPersonsAndHyperlinks) {
    auto parts = documentProperties();
    parts["[Content_Types].xml"] =
        overrides({"xl/workbook.xml", "xl/worksheets/sheet1.xml", "xl/comments1.xml",
                   "xl/threadedComments/threadedComment1.xml", "xl/persons/person.xml", "docProps/app.xml"});
    parts["_rels/.rels"] = packageRelationships;
    parts["xl/workbook.xml"] = xmlPart("<workbook xmlns=\"urn:s\"><sheets><sheet name=\"One\"/></sheets></workbook>");
    parts["xl/_rels/workbook.xml.rels"] =
        relationships(relationship("rId1", "worksheets/sheet1.xml") + relationship("rId2", "persons/person.xml"));
    parts["xl/persons/person.xml"] =
        xmlPart("<personList xmlns=\"urn:x\"><person displayName=\"Jane Roe\"/></personList>");
    parts["xl/threadedComments/threadedComment1.xml"] = xmlPart("<ThreadedComments xmlns=\"urn:x\"/>");
    parts["xl/comments1.xml"] =
        xmlPart("<comments xmlns=\"urn:s\"><authors><author>Jane Roe</author></authors></comments>");
    parts["xl/worksheets/sheet1.xml"] = xmlPart(
        "<worksheet xmlns=\"urn:s\" xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
        "<sheetData><row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>Site</t></is></c></row></sheetData>"
        "<hyperlinks><hyperlink ref=\"A1\" r:id=\"rId3\"/></hyperlinks></worksheet>");
    parts["xl/worksheets/_rels/sheet1.xml.rels"] = relationships(
        relationship("rId1", "../comments1.xml") + relationship("rId2", "../threadedComments/threadedComment1.xml") +
        relationship("rId3", "https://intranet.example/", true));
    const auto copy = exported(package("book.xlsx", parts));

    EXPECT_THAT(archiveEntryNames(copy),
                ElementsAre("[Content_Types].xml", "_rels/.rels", "xl/_rels/workbook.xml.rels", "xl/workbook.xml",
                            "xl/worksheets/_rels/sheet1.xml.rels", "xl/worksheets/sheet1.xml"));
    EXPECT_EQ(canonicalXml(archivePart(copy, "xl/worksheets/sheet1.xml")),
              canonicalXml("<worksheet xmlns=\"urn:s\" "
                           "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
                           "<sheetData><row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>Site</t></is></c></row>"
                           "</sheetData></worksheet>"));
    EXPECT_EQ(canonicalXml(archivePart(copy, "[Content_Types].xml")),
              canonicalXml(overrides({"xl/workbook.xml", "xl/worksheets/sheet1.xml"})));
    EXPECT_THAT(OfficeArchiveInspector().inspect(copy).entries, IsEmpty());
}

TEST_F(OfficePrivacyExportTest, WorkbookCopyBreaksLinksToOtherWorkbooksAndKeepsTheirValues) {
    const std::string spreadsheet =
        "xmlns=\"urn:s\" xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"";
    Parts parts = {
        {"[Content_Types].xml", overrides({"xl/workbook.xml", "xl/worksheets/sheet1.xml", "xl/calcChain.xml",
                                           "xl/externalLinks/externalLink1.xml"})},
        {"_rels/.rels", relationships(relationship("rId1", "xl/workbook.xml"))},
        {"xl/workbook.xml",
         xmlPart(
             "<workbook " + spreadsheet +
             "><sheets><sheet name=\"One\" r:id=\"rId1\"/></sheets>"
             "<externalReferences><externalReference r:id=\"rId2\"/></externalReferences><definedNames>"
             "<definedName name=\"Rate\">[1]Rates!$A$1</definedName><definedName name=\"Local\">One!$A$1</definedName>"
             "</definedNames></workbook>")},
        {"xl/_rels/workbook.xml.rels", relationships(relationship("rId1", "worksheets/sheet1.xml") +
                                                     relationship("rId2", "externalLinks/externalLink1.xml") +
                                                     relationship("rId3", "calcChain.xml"))},
        {"xl/calcChain.xml", xmlPart("<calcChain xmlns=\"urn:s\"><c r=\"A1\" i=\"1\"/></calcChain>")},
        {"xl/externalLinks/externalLink1.xml",
         xmlPart("<externalLink " + spreadsheet + "><externalBook r:id=\"rId1\"/></externalLink>")},
        {"xl/externalLinks/_rels/externalLink1.xml.rels",
         relationships(relationship("rId1", "file:///C:/Users/jroe/Documents/Salaries.xlsx", true))},
        {"xl/worksheets/sheet1.xml",
         xmlPart("<worksheet " + spreadsheet +
                 "><sheetData><row r=\"1\">"
                 "<c r=\"A1\"><f>[1]Rates!$A$1*2</f><v>4</v></c>"
                 "<c r=\"B1\"><f t=\"shared\" ref=\"B1:C1\" si=\"0\">'[1]Rates'!B1</f><v>5</v></c>"
                 "<c r=\"C1\"><f t=\"shared\" si=\"0\"/><v>6</v></c>"
                 "<c r=\"D1\"><f>SUM(A1:C1)</f><v>15</v></c></row></sheetData></worksheet>")},
    };
    const auto copy = exported(package("linked.xlsx", parts));

    EXPECT_THAT(archiveEntryNames(copy), ElementsAre("[Content_Types].xml", "_rels/.rels", "xl/_rels/workbook.xml.rels",
                                                     "xl/workbook.xml", "xl/worksheets/sheet1.xml"));
    EXPECT_EQ(
        canonicalXml(archivePart(copy, "xl/workbook.xml")),
        canonicalXml("<workbook " + spreadsheet +
                     "><sheets><sheet name=\"One\" r:id=\"rId1\"/></sheets>"
                     "<definedNames><definedName name=\"Local\">One!$A$1</definedName></definedNames></workbook>"));
    EXPECT_EQ(canonicalXml(archivePart(copy, "xl/worksheets/sheet1.xml")),
              canonicalXml("<worksheet " + spreadsheet +
                           "><sheetData><row r=\"1\"><c r=\"A1\"><v>4</v></c>"
                           "<c r=\"B1\"><v>5</v></c><c r=\"C1\"><v>6</v></c>"
                           "<c r=\"D1\"><f>SUM(A1:C1)</f><v>15</v></c></row></sheetData></worksheet>"));
    EXPECT_EQ(canonicalXml(archivePart(copy, "xl/_rels/workbook.xml.rels")),
              canonicalXml(relationships(relationship("rId1", "worksheets/sheet1.xml"))));
    EXPECT_EQ(canonicalXml(archivePart(copy, "[Content_Types].xml")),
              canonicalXml(overrides({"xl/workbook.xml", "xl/worksheets/sheet1.xml"})));
}

// Sets the process's time zone while it lives, so that a local time shows up as itself.
class TimeZone {
public:
    explicit TimeZone(const char* zone) {
        if (const char* previous = std::getenv("TZ")) previous_ = previous;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~TimeZone() {
        if (previous_) {
            ::setenv("TZ", previous_->c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }

private:
    std::optional<std::string> previous_;
};

TEST_F(OfficePrivacyExportTest, CopyEntriesAreUndatedWithoutExtraFieldsAndContentTypesFirst) {
    auto parts = testing::minimalWordDocument("<w:r><w:t>Hi</w:t></w:r>");
    parts["word/media/image1.png"] = std::string(4000, 'p');  // copied as compressed bytes
    parts["customXml/item1.xml"] = "<item/>";
    const auto source = path() / "dated.docx";
    testing::zipWithSystemZip(path(), parts, source, true);
    const auto sourceHeaders = testing::zipEntryHeaders(source);
    ASSERT_GT(sourceHeaders.front().centralExtraBytes, 0u);  // zip wrote its time and owner fields
    ASSERT_NE(sourceHeaders.front().centralDate, 0x21);

    for (const auto* zone : {"UTC0", "EST5EDT,M3.2.0,M11.1.0", "NZST-12NZDT,M9.5.0,M4.1.0/3"}) {
        const TimeZone timeZone(zone);
        const auto copy = exported(source);
        const auto headers = testing::zipEntryHeaders(copy);
        ASSERT_EQ(headers.size(), parts.size()) << zone;
        EXPECT_EQ(headers.front().name, "[Content_Types].xml") << zone;
        for (const auto& entry : headers) {
            EXPECT_EQ(entry.centralDate, 0x21) << entry.name << " in " << zone;  // 1980-01-01
            EXPECT_EQ(entry.centralTime, 0) << entry.name << " in " << zone;     // 00:00:00
            EXPECT_EQ(entry.localDate, 0x21) << entry.name << " in " << zone;
            EXPECT_EQ(entry.localTime, 0) << entry.name << " in " << zone;
            EXPECT_EQ(entry.centralExtraBytes, 0u) << entry.name << " in " << zone;
            EXPECT_EQ(entry.localExtraBytes, 0u) << entry.name << " in " << zone;
        }
        EXPECT_TRUE(archiveTestPasses(copy)) << zone;
        EXPECT_EQ(archivePart(copy, "word/media/image1.png"), parts["word/media/image1.png"]) << zone;
        std::filesystem::remove(copy);
    }
}

TEST_F(OfficePrivacyExportTest, EmptyPartsAreCopiedAsTheyAreOrDroppedWhenPrivate) {
    auto parts = testing::minimalWordDocument("<w:r><w:t>Hi</w:t></w:r>");
    parts["word/fontTable.xml"] = "";
    parts["word/_rels/fontTable.xml.rels"] = "";
    parts["word/media/empty.png"] = "";
    parts["docProps/custom.xml"] = "";
    const auto source = package("empty.docx", parts);
    EXPECT_NO_THROW(OfficeArchiveInspector().inspect(source));
    const auto copy = exported(source);
    EXPECT_THAT(archiveEntryNames(copy),
                ElementsAre("[Content_Types].xml", "_rels/.rels", "word/_rels/fontTable.xml.rels", "word/document.xml",
                            "word/fontTable.xml", "word/media/empty.png"));
    for (const auto* name : {"word/fontTable.xml", "word/_rels/fontTable.xml.rels", "word/media/empty.png"}) {
        EXPECT_EQ(archivePart(copy, name), "") << name;
    }
    EXPECT_TRUE(archiveTestPasses(copy));
}

// What `read` finds in `bytes` written to a file of their own in `folder`, gone afterwards.
template <class Read>
auto readAsFile(const std::filesystem::path& folder, const std::string& bytes, Read read) {
    const auto file = folder / "extracted.jpg";
    std::ofstream(file, std::ios::binary) << bytes;
    auto result = read(file);
    std::filesystem::remove(file);
    return result;
}

TEST_F(OfficePrivacyExportTest, EmbeddedPhotosAndDocumentsAreListedAndCleanedByTheirOwnFamily) {
    const auto photo = testing::makeTestImage(path() / "photo.jpg", "64x48", 1);
    testing::writeTags(photo, {"-GPSLatitude=51.5", "-GPSLatitudeRef=N", "-Artist=Jane Roe", "-Make=Phone"});
    auto workbook = testing::minimalWorkbook("figures");
    workbook["docProps/core.xml"] = testing::corePropertiesPart("Jane Roe", "Budget");
    auto parts = testing::minimalWordDocument("<w:r><w:t>Hi</w:t></w:r>");
    parts["word/media/image1.jpeg"] = testing::readFile(photo);
    parts["word/embeddings/Workbook.xlsx"] = testing::readFile(package("inner.xlsx", workbook));
    const auto source = package("photo.docx", parts);

    const auto report = OfficeArchiveInspector().inspect(source);
    EXPECT_TRUE(containsExportPrivacyResidue(report));
    const auto rows = testing::reportRows(report);
    EXPECT_THAT(rows, Contains(testing::ReportRow{u"Embedded", u"Metadata in word/embeddings/Workbook.xlsx",
                                                  u"Core properties, Author, Last modified by, Title"}));
    const auto photoRow = std::find_if(rows.begin(), rows.end(), [](const testing::ReportRow& row) {
        return row.name == u"Metadata in word/media/image1.jpeg";
    });
    ASSERT_NE(photoRow, rows.end());
    EXPECT_NE(photoRow->value.find(u"Latitude"), std::u16string::npos) << testing::ReportRow{u"", u"", photoRow->value};
    EXPECT_NE(photoRow->value.find(u"Artist"), std::u16string::npos);
    EXPECT_THAT(readAsFile(path(), parts["word/media/image1.jpeg"], exiftoolTagNames),
                Contains(HasSubstr("GPSLatitude")));

    const auto copy = exported(source);
    EXPECT_THAT(testing::reportRows(OfficeArchiveInspector().inspect(copy)),
                ElementsAre(testing::ReportRow{u"Embedded", u"Images", u"1"},
                            testing::ReportRow{u"Embedded", u"Objects/blobs", u"1"}));
    const auto copiedPhoto = archivePart(copy, "word/media/image1.jpeg");
    for (const auto& tag : readAsFile(path(), copiedPhoto, exiftoolTagNames)) {
        EXPECT_THAT(tag, Not(AnyOf(HasSubstr("GPS"), HasSubstr("Artist"), HasSubstr("Make")))) << tag;
    }
    EXPECT_EQ(testing::decodedPixels(photo), readAsFile(path(), copiedPhoto, testing::decodedPixels));
    const auto innerCopy = archivePart(copy, "word/embeddings/Workbook.xlsx");
    EXPECT_THAT(readAsFile(path(), innerCopy, archiveEntryNames), Not(Contains(HasSubstr("docProps"))));
    EXPECT_TRUE(readAsFile(path(), innerCopy, archiveTestPasses));
}

TEST_F(OfficePrivacyExportTest, EmbeddedFilesThatCannotBeCleanedAreShownAndFailTheCopy) {
    auto parts = testing::minimalWordDocument("<w:r><w:t>Hi</w:t></w:r>");
    parts["word/media/broken.jpeg"] = "\xFF\xD8\xFF\xE1 not a picture";
    parts["word/embeddings/Broken.xlsx"] = "PK not an archive";
    const auto source = package("broken.docx", parts);
    const auto rows = testing::reportRows(OfficeArchiveInspector().inspect(source));
    EXPECT_THAT(rows, Contains(testing::ReportRow{u"Embedded", u"Metadata in word/embeddings/Broken.xlsx",
                                                  u"Unreadable file"}));
    EXPECT_THAT(rows, Contains(::testing::Field(&testing::ReportRow::name, u"Metadata in word/media/broken.jpeg")));
    EXPECT_NE(testing::errorOf([&] { createPrivacyCopy(source, path() / "broken-privacy.docx"); }), std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(path() / "broken-privacy.docx"));
}

TEST_F(OfficePrivacyExportTest, AFullDiskIsAFailedWriteNeverAnUnreadableFile) {
    const testing::SmallFileSystem full(path() / "full");
    if (!full.mounted()) GTEST_SKIP() << "mounting a small tmpfs needs root";
    auto parts = testing::minimalWordDocument("<w:r><w:t>Hi</w:t></w:r>");
    std::mt19937 random(7);
    std::string noise(300'000, '\0');
    for (auto& byte : noise) byte = static_cast<char>(random());
    parts["word/media/noise.bin"] = noise;  // incompressible, larger than the file system
    const auto source = package("big.docx", parts);
    const auto destination = path() / "full" / "big-privacy.docx";
    try {
        createPrivacyCopy(source, destination);
        ADD_FAILURE() << "the copy was written to a full disk";
    } catch (const FileSanitizerError& error) {
        EXPECT_EQ(error.errorCase(), Case::exportFailed) << error.what();
    } catch (const std::system_error& error) {
        EXPECT_EQ(error.code(), std::errc::no_space_on_device) << error.what();
    }
    EXPECT_TRUE(testing::namesIn(path() / "full").empty());
}

TEST_F(OfficePrivacyExportTest, PartsThatAreNotPlainXmlAreRefused) {
    const std::string billionLaughs =
        "<?xml version=\"1.0\"?><!DOCTYPE w [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
        "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">]><w:document " +
        std::string(wordNamespaces) + ">&c;</w:document>";
    const std::string external = "<?xml version=\"1.0\"?><!DOCTYPE w SYSTEM \"http://example.com/x.dtd\"><w/>";
    for (const auto& document : {billionLaughs, external, std::string("<w:document><unclosed></w:document>")}) {
        auto parts = testing::minimalWordDocument("");
        parts["word/document.xml"] = document;
        const auto source = package("hostile.docx", parts);
        EXPECT_EQ(testing::errorOf([&] { createPrivacyCopy(source, path() / "hostile-privacy.docx"); }),
                  Case::unreadableFile);
        std::filesystem::remove(source);
    }
}

}  // namespace
}  // namespace velquor::files
