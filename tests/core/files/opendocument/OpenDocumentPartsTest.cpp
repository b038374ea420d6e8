#include "core/files/opendocument/OpenDocumentParts.h"

#include "core/files/office/XmlDocument.h"
#include "tests/support/DocumentPackages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace velquor::files {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

std::string part(const std::string& body) {
    return "<office:document-content " + std::string(testing::openDocumentNamespaces) + "><office:body>" + body +
           "</office:body></office:document-content>";
}

std::string cleaned(const std::string& body) {
    auto document = XmlDocument::parse(part(body));
    cleanDocumentPart(document);
    return document.serialize();
}

TEST(OpenDocumentPartsTest, LinkTargetsOutsideThePackageAreTold) {
    const struct {
        const char* target;
        bool external;
    } cases[] = {
        {"Pictures/100000000000.png", false},
        {"./Object 1", false},
        {"Object 1/../Pictures/a.png", true},  // climbing is refused whatever it lands on
        {"../photo.png", true},
        {"..\\photo.png", true},
        {"/home/jane/photo.png", true},
        {"\\\\server\\share\\a.png", true},
        {"C:\\Users\\jane\\a.png", true},
        {"file:///home/jane/a.odt", true},
        {"https://example.com/a.png", true},
        {"  http://example.com/a.png", true},
        {"#Bookmark", false},
        {"", false},
        {"Pictures/a:b.png", false},  // a colon after the first slash is part of a name
    };
    for (const auto& c : cases) EXPECT_EQ(isExternalLinkTarget(c.target), c.external) << c.target;
}

TEST(OpenDocumentPartsTest, SettingValuesThatArePathsOrAddressesAreTold) {
    const struct {
        const char* value;
        bool path;
    } cases[] = {
        {"/home/jane/Templates", true},
        {"~/Documents", true},
        {"C:/Users/jane", true},
        {"d:\\data", true},
        {"\\\\nas\\share", true},
        {"file:///tmp/x", true},
        {"FILE:x", true},
        {"smb://nas/share", true},
        {"true", false},
        {"1234", false},
        {"C:", false},
        {"Jane's LaserJet", false},
        {"", false},
        {"  /padded", true},
    };
    for (const auto& c : cases) EXPECT_EQ(isPathOrUrl(c.value), c.path) << c.value;
}

TEST(OpenDocumentPartsTest, FindingsCountChangesAndCommentsAndNameTheirPeople) {
    const auto document = XmlDocument::parse(part(
        "<office:text><text:tracked-changes text:track-changes=\"false\"><text:changed-region><text:insertion>"
        "<office:change-info><dc:creator>A</dc:creator></office:change-info></text:insertion></text:changed-region>"
        "</text:tracked-changes><text:p><office:annotation><dc:creator>B</dc:creator><dc:date>D1</dc:date>"
        "</office:annotation><office:annotation><dc:creator>B</dc:creator><dc:date>D2</dc:date></office:annotation>"
        "<dc:creator>C</dc:creator><text:insertion/></text:p></office:text>"));
    const auto found = documentPartFindings(document);
    EXPECT_EQ(found.insertions, 1u) << "an insertion outside a change region is no tracked change";
    EXPECT_FALSE(found.changeRecording) << "recording switched off";
    EXPECT_THAT(found.changeAuthors, ElementsAre("A"));
    EXPECT_EQ(found.comments, 2u);
    EXPECT_THAT(found.commentAuthors, ElementsAre("B"));
    EXPECT_THAT(found.commentDates, ElementsAre("D1", "D2"));
    EXPECT_THAT(found.otherAuthors, ElementsAre("C"));
}

TEST(OpenDocumentPartsTest, CleaningDropsLinksMacrosAndChangeRecordsAndKeepsTheContent) {
    const struct {
        const char* name;
        const char* body;
        std::vector<const char*> kept;
        std::vector<const char*> gone;
    } cases[] = {
        // A frame left with only its title goes; one with other content keeps it.
        {"sections, images, frames, styles and events",
         "<office:text><text:section><text:section-source xlink:href=\"../a.odt\"/><text:p>Cached</text:p>"
         "</text:section><draw:frame><draw:image xlink:href=\"http://x/a.png\"/><draw:image "
         "xlink:href=\"Pictures/fallback.png\"/></draw:frame><draw:frame><draw:object "
         "xlink:href=\"/tmp/chart\"/><svg:title>Chart</svg:title></draw:frame>"
         "<style:background-image xlink:href=\"/home/jane/bg.png\" style:repeat=\"stretch\"/>"
         "<office:event-listeners><script:event-listener script:language=\"ooo:script\" "
         "xlink:href=\"vnd.sun.star.script:x\"/><presentation:event-listener presentation:action=\"execute\" "
         "xlink:href=\"/usr/bin/program\"/></office:event-listeners></office:text>",
         {"Cached", "Pictures/fallback.png", "style:repeat=\"stretch\""},
         {"a.odt", "http://x", "Chart", "bg.png", "vnd.sun.star.script", "/usr/bin/program"}},
        // A frame inside a linked object that goes with it must not be looked at again.
        {"links nested inside links",
         "<office:text><draw:frame><draw:object xlink:href=\"http://a\"><draw:frame><draw:image "
         "xlink:href=\"http://b\"/></draw:frame></draw:object></draw:frame><text:p>after</text:p></office:text>",
         {"after"},
         {"http://a", "http://b"}},
        // "zz:" is declared nowhere, so the region is no tracked-changes element to the parser; the
        // change records inside it, which name people, must go all the same.
        {"change records under an undeclared prefix",
         "<office:text><zz:tracked-changes><zz:changed-region><zz:insertion>"
         "<office:change-info><dc:creator>Jane Roe</dc:creator></office:change-info></zz:insertion>"
         "</zz:changed-region></zz:tracked-changes><text:p>Body</text:p></office:text>",
         {"Body"},
         {"Jane Roe"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto result = cleaned(c.body);
        for (const auto* text : c.kept) EXPECT_THAT(result, HasSubstr(text));
        for (const auto* text : c.gone) EXPECT_THAT(result, Not(HasSubstr(text)));
        const auto found = documentPartFindings(XmlDocument::parse(result));
        EXPECT_TRUE(found.externalLinks.empty());
        EXPECT_EQ(found.macroBindings, 0u);
        EXPECT_TRUE(found.changeAuthors.empty());
    }
}

TEST(OpenDocumentPartsTest, NameFieldsOfTheTextAreShownButAreNoAuthorsAndStay) {
    const auto body =
        "<office:text><text:p>Signed: <text:author-name text:fixed=\"true\">Jane Roe</text:author-name> "
        "(<text:author-initials>JR</text:author-initials>), <text:creator>John Doe</text:creator></text:p>"
        "</office:text>";
    const auto found = documentPartFindings(XmlDocument::parse(part(body)));
    EXPECT_THAT(found.nameFields, ElementsAre("Jane Roe", "JR", "John Doe"));
    EXPECT_TRUE(found.otherAuthors.empty()) << "text:creator is a field, not dc:creator";
    EXPECT_THAT(cleaned(body), HasSubstr("<text:creator>John Doe</text:creator>"));
}

TEST(OpenDocumentPartsTest, SettingsFindingsAndTheirRemoval) {
    auto settings = XmlDocument::parse(testing::openDocumentSettings());
    const auto found = settingsFindings(settings);
    EXPECT_THAT(found.printers, ElementsAre("Jane's LaserJet"));
    EXPECT_TRUE(found.printerSetup);
    EXPECT_THAT(found.dataSources, ElementsAre("Customers"));
    EXPECT_THAT(found.paths, ElementsAre("EmbeddedFontsPath: file:///home/jane/fonts"));
    removePersonalSettings(settings);
    const auto after = settingsFindings(settings);
    EXPECT_TRUE(after.printers.empty() && !after.printerSetup && after.dataSources.empty() && after.paths.empty());
    EXPECT_THAT(settings.serialize(), HasSubstr("ViewAreaTop"));
}

}  // namespace
}  // namespace velquor::files
