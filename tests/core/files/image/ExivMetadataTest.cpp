// Exiv2's view of real metadata, in the key shape the sections expect.
#include "core/files/image/ImagePrivacySanitizer.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <map>

namespace velquor::files {
namespace {

using namespace velquor::testing;

TEST(ExivMetadataTest, ExifIptcAndXmpArriveUnderTheirGroupsWithReadableValues) {
    TemporaryDirectory directory;
    const auto photo = makeTestImage(directory.path() / "photo.jpg", "32x24", 1);
    writeTags(photo,
              {"-GPSLatitude=51.5", "-GPSLatitudeRef=S", "-GPSTimeStamp=14:03:07.5", "-GPSAltitude=12.25",
               "-XPAuthor=Ann", "-UserComment=left the lens cap on", "-ExifIFD:ColorSpace#=1", "-LensModel=EF 50mm",
               "-IPTC:Keywords=garden", "-IPTC:Keywords=fox", "-XMP-dc:Subject=snow", "-XMP-dc:Subject=winter",
               "-XMP-dc:Title=Garden", "-XMP-tiff:Make=Canon", "-XMP-exif:GPSLatitude=51.5"});
    const auto report = ImagePrivacySanitizer().inspect(photo);
    std::map<std::u16string, std::pair<std::u16string, std::u16string>> byId;
    for (const auto& entry : report.entries) byId[entry.id] = {entry.section, entry.value};

    const struct {
        std::u16string id;
        std::u16string section;
        std::u16string value;
    } expected[] = {
        {u"{GPS}.Latitude", u"Location", u"51.5"},
        {u"{GPS}.LatitudeRef", u"Location", u"S"},
        {u"{GPS}.TimeStamp", u"Location", u"14:03:07.5"},
        {u"{GPS}.Altitude", u"Location", u"12.25"},
        {u"{TIFF}.XPAuthor", u"File", u"Ann"},
        {u"{Exif}.UserComment", u"Capture", u"left the lens cap on"},
        {u"{Exif}.ColorSpace", u"File", u"1"},
        {u"{Exif}.LensModel", u"Capture", u"EF 50mm"},
        {u"{IPTC}.Keywords", u"Description", u"garden, fox"},
        {u"{XMP}.subject", u"Description", u"snow, winter"},
        {u"{XMP}.title", u"Description", u"Garden"},
        {u"{XMP}.Make", u"Description", u"Canon"},  // an XMP mirror of a TIFF tag is still a description
        {u"{XMP}.GPSLatitude", u"Location", u"51,30.0N"},
    };
    for (const auto& e : expected) {
        const auto found = byId.find(e.id);
        ASSERT_NE(found, byId.end()) << std::string(e.id.begin(), e.id.end());
        EXPECT_EQ(found->second.first, e.section) << std::string(e.id.begin(), e.id.end());
        EXPECT_EQ(found->second.second, e.value) << std::string(e.id.begin(), e.id.end());
    }
    EXPECT_FALSE(byId.contains(u"{TIFF}.ExifTag")) << "IFD pointers are structure, not metadata";
    EXPECT_FALSE(byId.contains(u"{TIFF}.GPSTag"));
    EXPECT_TRUE(report.containsLocation());
}

}  // namespace
}  // namespace velquor::files
