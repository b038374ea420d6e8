#include "tests/core/files/office/OfficeTestFolder.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/epub/EpubInspector.h"
#include "core/files/office/ZipArchive.h"
#include "tests/support/DocumentPackages.h"
#include "tests/support/ExternalTools.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/PackageOracles.h"
#include "tests/support/ReportRows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>

namespace velquor::files {
namespace {

using testing::archiveEntryNames;
using testing::archivePart;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::IsSupersetOf;
using ::testing::MatchesRegex;
using ::testing::Not;
using testing::Parts;
using testing::ReportRow;
using Case = FileSanitizerError::Case;

class EpubTest : public testing::OfficeTestFolder {
protected:
    std::string coverWithGps() const {
        const auto cover = testing::makeTestImage(path() / "cover.jpg", "24x32", 1);
        testing::writeTags(cover, {"-GPSLatitude=48.1", "-GPSLatitudeRef=N", "-Artist=Jane Roe"});
        const auto bytes = testing::readBytes(cover);
        return {bytes.begin(), bytes.end()};
    }
};

std::string identifierOf(const std::string& packageDocument) {
    std::smatch match;
    const std::regex identifier("<dc:identifier id=\"[^\"]+\">([^<]*)</dc:identifier>");
    return std::regex_search(packageDocument, match, identifier) ? match[1].str() : std::string();
}

TEST_F(EpubTest, ACalibreBookShowsItsPeopleToolsAndCover) {
    const auto report = inspectReport(package("road.epub", testing::calibreEpub2(coverWithGps())));
    EXPECT_EQ(report.typeDescription, u"EPUB book");
    EXPECT_THAT(testing::reportRows(report),
                IsSupersetOf(std::vector<ReportRow>{
                    {u"EPUB", u"Book title", u"The Long Road"},
                    {u"EPUB", u"Creator", u"Jane Roe"},
                    {u"EPUB", u"Contributor", u"calibre (6.13.0) [https://calibre-ebook.com]"},
                    {u"EPUB", u"Publisher", u"Roe Press"},
                    {u"EPUB", u"Date", u"2023-04-01T00:00:00+00:00"},
                    {u"EPUB", u"Rights", u"Copyright Jane Roe"},
                    {u"EPUB", u"Description", u"Draft for my editor"},
                    {u"EPUB", u"Book identifier", u"urn:uuid:9a8b7c6d-5e4f-4a3b-8c2d-1e0f9a8b7c6d"},
                    {u"EPUB", u"Identifier", u"0d9c8b7a-6f5e-4d3c-2b1a-0f9e8d7c6b5a"},
                    {u"EPUB", u"ISBN", u"978-3-16-148410-0"},
                    {u"EPUB", u"Language", u"en"},
                    {u"EPUB", u"Metadata", u"calibre:timestamp = 2024-05-05T10:00:00+00:00"},
                    {u"EPUB", u"Metadata", u"dtb:generator = calibre (6.13.0)"},
                    {u"EPUB", u"NCX author", u"Jane Roe"},
                    {u"EPUB", u"Reading app data", u"iTunesMetadata.plist"},
                    {u"Preview", u"Cover image", u"OEBPS/Images/cover.jpg"},
                }));
    std::vector<std::u16string> names;
    for (const auto& entry : report.entries) names.push_back(entry.name);
    EXPECT_THAT(names, Contains(u"Metadata in OEBPS/Images/cover.jpg"));
    EXPECT_TRUE(failsPrivacyVerification("road.epub", report));
}

TEST_F(EpubTest, AnEpub2CopyKeepsTheBookAndLosesWhoMadeIt) {
    const auto source = package("road.epub", testing::calibreEpub2(coverWithGps()));
    const auto copy = exported(source);

    const auto opf = archivePart(copy, "OEBPS/content.opf");
    const auto identifier = identifierOf(opf);
    EXPECT_THAT(identifier,
                MatchesRegex("urn:uuid:[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}"));
    EXPECT_THAT(opf, HasSubstr("The Long Road"));
    EXPECT_THAT(opf, HasSubstr("<dc:language>en</dc:language>"));
    EXPECT_THAT(opf, HasSubstr("978-3-16-148410-0")) << "the public ISBN stays";
    EXPECT_THAT(opf, HasSubstr("<meta name=\"cover\" content=\"cover\"/>"));
    for (const auto* gone :
         {"Jane Roe", "calibre", "Roe Press", "2023-04-01", "Draft", "9a8b7c6d", "0d9c8b7a", "dcterms:modified"}) {
        EXPECT_THAT(opf, Not(HasSubstr(gone))) << gone;
    }
    const auto ncx = archivePart(copy, "OEBPS/toc.ncx");
    EXPECT_THAT(ncx, HasSubstr("<meta name=\"dtb:uid\" content=\"" + identifier + "\"/>"));
    EXPECT_THAT(ncx, Not(HasSubstr("docAuthor")));
    EXPECT_THAT(ncx, Not(HasSubstr("dtb:generator")));
    EXPECT_THAT(ncx, HasSubstr("Text/chapter%201.xhtml"));
    EXPECT_EQ(archivePart(copy, "OEBPS/Text/chapter 1.xhtml"), archivePart(source, "OEBPS/Text/chapter 1.xhtml"))
        << "content documents stay as they are";
    EXPECT_THAT(archiveEntryNames(copy), Not(Contains("iTunesMetadata.plist")));

    const auto archive = ZipArchive::open(copy);
    const auto entries = archive.listEntries();
    EXPECT_EQ(entries.front().name, "mimetype");
    EXPECT_EQ(entries.front().compressionMethod, ArchiveEntry::stored);

    const auto report = inspectReport(copy);
    EXPECT_FALSE(report.containsPersonalMetadata());
    std::vector<std::string> personal;
    for (const auto& [tag, value] : testing::exiftoolTags(copy)) {
        for (const auto* word : {"Creator", "Contributor", "Publisher", "Date", "Rights", "Description", "Meta"}) {
            if (tag.find(word) != std::string::npos && tag.find("System:") != 0) personal.push_back(tag + " " + value);
        }
    }
    EXPECT_THAT(personal, ::testing::ElementsAre("XML:MetaName \"cover\"", "XML:MetaContent \"cover\""));

    const auto cover = path() / "copy-cover.jpg";
    testing::writeBytes(cover, testing::bytesOf(archivePart(copy, "OEBPS/Images/cover.jpg")));
    for (const auto& [tag, value] : testing::exiftoolTags(cover)) EXPECT_THAT(tag, Not(HasSubstr("GPS")));

    // Two copies of one book cannot be linked to each other either.
    const auto second = path() / "second.epub";
    createPrivacyCopy(source, second);
    EXPECT_NE(identifierOf(archivePart(second, "OEBPS/content.opf")), identifier);
}

TEST_F(EpubTest, AnEpub3CopyCarriesTheFixedModificationDateAndFontsItCanUse) {
    std::string font(4096, '\0');
    for (std::size_t i = 0; i < font.size(); ++i) font[i] = static_cast<char>((i * 13) & 0xFF);
    for (const bool withModified : {true, false}) {
        SCOPED_TRACE(withModified ? "with a modification date" : "without one");
        const auto name = std::string(withModified ? "dated" : "undated") + ".epub";
        const auto copy = exported(package(name, testing::epub3Book(withModified, font)));
        const auto opf = archivePart(copy, "OEBPS/content.opf");
        EXPECT_THAT(opf, HasSubstr("<meta property=\"dcterms:modified\">1980-01-01T00:00:00Z</meta>"));
        EXPECT_THAT(opf, Not(HasSubstr("2024-06-01")));
        EXPECT_THAT(opf, Not(HasSubstr("Ann Lee")));
        EXPECT_THAT(opf, Not(HasSubstr("example.com/record")));
        EXPECT_THAT(opf, Not(HasSubstr("calibre:user_metadata")));
        EXPECT_THAT(opf, HasSubstr("Night Train"));
        const auto identifier = identifierOf(opf);
        EXPECT_NE(identifier, testing::epub3Identifier);
        EXPECT_EQ(testing::idpfObfuscated(archivePart(copy, "OEBPS/Fonts/serif.otf"), identifier), font)
            << "the font opens with the copy's key";
        const auto report = inspectReport(copy);
        EXPECT_FALSE(failsPrivacyVerification(copy, report)) << ::testing::PrintToString(testing::reportRows(report));
    }
}

TEST_F(EpubTest, ProtectedBooksAndBrokenContainersAreRefused) {
    auto protectedBook = testing::calibreEpub2("");
    protectedBook.erase("OEBPS/Images/cover.jpg");
    protectedBook["META-INF/encryption.xml"] =
        "<encryption xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\" "
        "xmlns:enc=\"http://www.w3.org/2001/04/xmlenc#\"><enc:EncryptedData><enc:EncryptionMethod "
        "Algorithm=\"http://www.w3.org/2001/04/xmlenc#aes128-cbc\"/><enc:CipherData><enc:CipherReference "
        "URI=\"OEBPS/Text/chapter%201.xhtml\"/></enc:CipherData></enc:EncryptedData></encryption>";
    const auto report = inspectReport(package("drm.epub", protectedBook));
    EXPECT_THAT(testing::reportRows(report), Contains(ReportRow{u"EPUB", u"Protected parts", u"1"}));

    auto noContainer = protectedBook;
    noContainer.erase("META-INF/container.xml");
    auto outside = protectedBook;
    outside["META-INF/container.xml"] =
        "<container xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\"><rootfiles><rootfile "
        "full-path=\"../content.opf\" media-type=\"application/oebps-package+xml\"/></rootfiles></container>";
    auto entities = protectedBook;
    entities["OEBPS/content.opf"] =
        "<!DOCTYPE package [<!ENTITY e SYSTEM \"file:///etc/passwd\">]><package>&e;</package>";
    const struct {
        const char* name;
        Parts parts;
        bool inspectable;
    } cases[] = {
        {"drm.epub", protectedBook, true},
        {"nocontainer.epub", noContainer, false},
        {"outside.epub", outside, false},
        {"entities.epub", entities, false},
    };
    for (const auto& c : cases) {
        const auto file = package(std::string("x-") + c.name, c.parts);
        if (!c.inspectable) {
            EXPECT_THROW(inspectReport(file), FileSanitizerError) << c.name;
        }
        EXPECT_EQ(testing::errorOf([&] { createPrivacyCopy(file, path() / "copy.epub"); }), Case::unreadableFile)
            << c.name;
        EXPECT_FALSE(std::filesystem::exists(path() / "copy.epub")) << c.name;
    }
}

TEST_F(EpubTest, OnlyTheEpubExtensionIsClaimed) {
    EXPECT_TRUE(EpubInspector::isSupported("a.EPUB"));
    EXPECT_TRUE(isExportable("a.epub"));
    for (const auto* other : {"a.mobi", "a.azw3", "a.epub.zip", "epub"}) {
        EXPECT_FALSE(EpubInspector::isSupported(other)) << other;
    }
}

}  // namespace
}  // namespace velquor::files
