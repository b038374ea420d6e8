#include "core/files/epub/EpubFontObfuscation.h"
#include "core/files/epub/EpubMetadataEdits.h"
#include "core/files/epub/EpubPackage.h"
#include "core/files/epub/Sha1.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/office/XmlDocument.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

namespace velquor::files {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

std::string hex(const std::array<std::uint8_t, 20>& digest) {
    std::string text;
    char byte[3];
    for (const auto value : digest) {
        std::snprintf(byte, sizeof byte, "%02x", value);
        text += byte;
    }
    return text;
}

TEST(EpubPackageTest, Sha1MatchesThePublishedTestVectors) {
    EXPECT_EQ(hex(sha1("")), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
    EXPECT_EQ(hex(sha1("abc")), "a9993e364706816aba3e25717850c26c9cd0d89d");
    // 56 bytes: the length no longer fits in the first block.
    EXPECT_EQ(hex(sha1("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")),
              "84983e441c3bd26ebaae4aa1f95129e5e54670f1");
    EXPECT_EQ(hex(sha1(std::string(1'000'000, 'a'))), "34aa973cd4c4daa4f61eeb2bdbad27316534016f");
}

TEST(EpubPackageTest, IsbnsAreRecognisedByTheirCheckDigit) {
    const struct {
        const char* identifier;
        bool isbn;
    } cases[] = {
        {"978-3-16-148410-0", true},
        {"9783161484100", true},
        {"urn:isbn:9783161484100", true},
        {"ISBN: 978 3 16 148410 0", true},
        {"isbn:0-306-40615-2", true},
        {"030640615X", false},
        {"080442957X", true},
        {"978-3-16-148410-1", false},
        {"9773161484100", false},
        {"urn:uuid:12345678-1234", false},
        {"", false},
        {"97831614841000", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isIsbn(c.identifier), c.isbn) << c.identifier;
}

TEST(EpubPackageTest, ReferencesResolveInsideTheArchiveOnly) {
    const struct {
        const char* folder;
        const char* href;
        std::optional<std::string> path;
    } cases[] = {
        {"OEBPS/", "Text/chapter%201.xhtml", "OEBPS/Text/chapter 1.xhtml"},
        {"OEBPS/", "../cover.jpg", "cover.jpg"},
        {"OEBPS/", "../../cover.jpg", std::nullopt},
        {"OEBPS/", "./toc.ncx#top", "OEBPS/toc.ncx"},
        {"OEBPS/", "/etc/passwd", std::nullopt},
        {"OEBPS/", "http://example.com/a.css", std::nullopt},
        {"OEBPS/", "a%2", std::nullopt},
        {"OEBPS/", "a%zz", std::nullopt},
        {"", "OEBPS/content.opf", "OEBPS/content.opf"},
        {"", "", std::nullopt},
        {"OEBPS/", "#only-a-fragment", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(resolvedReference(c.folder, c.href), c.path) << c.href;
}

TEST(EpubPackageTest, ObfuscatedFontsAreKeyedAgainForTheNewIdentifier) {
    std::string font(3000, '\0');
    for (std::size_t i = 0; i < font.size(); ++i) font[i] = static_cast<char>(i * 7);
    const std::string oldId = "urn:uuid:11111111-2222-3333-4444-555555555555";
    const std::string newId = "urn:uuid:aaaaaaaa-bbbb-cccc-dddd-eeeeeeeeeeee";
    for (const auto method : {FontObfuscation::idpf, FontObfuscation::adobe}) {
        // Keyed from the old identifier to the new one and back, the font is what it was.
        const auto underOld = reobfuscatedFont(font, method, oldId, newId);
        EXPECT_NE(underOld, font);
        EXPECT_EQ(underOld.substr(1040), font.substr(1040)) << "only the head is obfuscated";
        EXPECT_EQ(reobfuscatedFont(underOld, method, newId, oldId), font);
    }
    // An Adobe key needs the UUID's 32 hex digits.
    EXPECT_THROW(reobfuscatedFont(font, FontObfuscation::adobe, "isbn:9783161484100", newId), FileSanitizerError);
}

TEST(EpubPackageTest, TheEncryptionPartTellsFontsFromProtectedContent) {
    const auto encryption = XmlDocument::parse(
        "<encryption xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\" "
        "xmlns:enc=\"http://www.w3.org/2001/04/xmlenc#\">"
        "<enc:EncryptedData><enc:EncryptionMethod Algorithm=\"http://www.idpf.org/2008/embedding\"/><enc:CipherData>"
        "<enc:CipherReference URI=\"OEBPS/Fonts/a%20b.otf\"/></enc:CipherData></enc:EncryptedData>"
        "<enc:EncryptedData><enc:EncryptionMethod Algorithm=\"http://ns.adobe.com/pdf/enc#RC\"/><enc:CipherData>"
        "<enc:CipherReference URI=\"OEBPS/Fonts/c.ttf\"/></enc:CipherData></enc:EncryptedData>"
        "<enc:EncryptedData><enc:EncryptionMethod Algorithm=\"http://www.w3.org/2001/04/xmlenc#aes128-cbc\"/>"
        "<enc:CipherData><enc:CipherReference URI=\"OEBPS/Text/c1.xhtml\"/></enc:CipherData></enc:EncryptedData>"
        "</encryption>");
    const auto fonts = obfuscatedFonts(encryption);
    EXPECT_EQ(fonts, (std::map<std::string, FontObfuscation>{{"OEBPS/Fonts/a b.otf", FontObfuscation::idpf},
                                                             {"OEBPS/Fonts/c.ttf", FontObfuscation::adobe}}));
    EXPECT_EQ(protectedContentCount(encryption), 1u);
}

TEST(EpubPackageTest, MetadataIsReducedAroundTheFreshIdentifier) {
    auto package = XmlDocument::parse(
        "<package xmlns=\"http://www.idpf.org/2007/opf\" version=\"3.0\" unique-identifier=\"missing\">"
        "<metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:title>T</dc:title>"
        "<dc:creator>Jane</dc:creator><dc:creator><dc:creator>nested</dc:creator></dc:creator>"
        "<meta property=\"dcterms:modified\">2024-01-01T00:00:00Z</meta>"
        "<meta property=\"dcterms:modified\">2025-01-01T00:00:00Z</meta></metadata><manifest/></package>");
    reducePackageMetadata(package, "urn:uuid:fresh");
    const auto xml = package.serialize();
    EXPECT_THAT(xml, Not(HasSubstr("Jane")));
    EXPECT_THAT(xml, Not(HasSubstr("nested")));
    EXPECT_THAT(xml, HasSubstr("<dc:identifier id=\"missing\">urn:uuid:fresh</dc:identifier>"))
        << "a book without its unique identifier gets one";
    EXPECT_THAT(xml, HasSubstr("<meta property=\"dcterms:modified\">1980-01-01T00:00:00Z</meta>"));
    EXPECT_THAT(xml, Not(HasSubstr("2025"))) << "one modification date is left";

    // An entry cannot stay by hiding behind another namespace, nor inside the old wrappers.
    auto disguised = XmlDocument::parse(
        "<package xmlns=\"http://www.idpf.org/2007/opf\" version=\"2.0\"><metadata><dc-metadata "
        "xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:title>T</dc:title></dc-metadata>"
        "<x:creator xmlns:x=\"urn:not-dublin-core\">Hidden Author</x:creator><dc:creator "
        "xmlns:dc=\"http://purl.org/dc/elements/1.1/\">Jane</dc:creator></metadata>"
        "<manifest><dc:publisher xmlns:dc=\"http://purl.org/dc/elements/1.1/\">Stray</dc:publisher></manifest>"
        "</package>");
    reducePackageMetadata(disguised, "urn:uuid:fresh");
    const auto reduced = disguised.serialize();
    for (const auto* gone : {"Hidden Author", "Jane", "Stray"}) EXPECT_THAT(reduced, Not(HasSubstr(gone))) << gone;
    EXPECT_THAT(reduced, HasSubstr("<dc:title>T</dc:title>"));

    auto untitled = XmlDocument::parse("<package xmlns=\"http://www.idpf.org/2007/opf\"><metadata/></package>");
    EXPECT_THROW(reducePackageMetadata(untitled, "urn:uuid:fresh"), FileSanitizerError);
    // Metadata that is not the package's own child could go with what is dropped.
    auto nested = XmlDocument::parse(
        "<package xmlns=\"http://www.idpf.org/2007/opf\"><x><metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\">"
        "<dc:title>T</dc:title></metadata></x></package>");
    EXPECT_THROW(reducePackageMetadata(nested, "urn:uuid:fresh"), FileSanitizerError);
}

}  // namespace
}  // namespace velquor::files
