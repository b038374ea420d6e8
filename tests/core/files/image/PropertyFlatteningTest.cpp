#include "core/files/image/ImageProperty.h"
#include "core/files/image/PropertyFlattening.h"

#include <gtest/gtest.h>

namespace velquor::files {
namespace {

using P = ImageProperty;

std::vector<FileMetadataEntry> flattened(const ImageProperty& map, std::vector<std::u16string> path = {}) {
    std::vector<FileMetadataEntry> entries;
    flattenProperties(map, path, entries);
    return entries;
}

TEST(PropertyFlatteningTest, SectionsFollowTheFirstMatchingRule) {
    const struct {
        std::vector<std::u16string> path;
        std::u16string section;
    } cases[] = {
        {{u"{GPS}", u"Latitude"}, u"Location"},
        {{u"{TIFF}", u"Orientation"}, u"File"},
        {{u"{TIFF}", u"Make"}, u"Capture"},
        {{u"{TIFF}", u"make"}, u"File"},  // the TIFF capture list compares exactly
        {{u"{Exif}", u"PixelXDimension"}, u"File"},
        {{u"{Exif}", u"LensModel"}, u"Capture"},
        {{u"{MakerCanon}", u"SerialNumber"}, u"Capture"},
        {{u"{IPTC}", u"Keywords"}, u"Description"},
        {{u"{XMP}", u"creator"}, u"Description"},
        {{u"{XMP}", u"GPSLatitude"}, u"Location"},
        {{u"{PNG}", u"Software"}, u"Description"},
        {{u"{PNG}", u"generation-parameters"}, u"Description"},
        {{u"{PNG}", u"Gamma"}, u"File"},
        {{u"Frame 2", u"{GIF}", u"Comment"}, u"Description"},
        {{u"Frame 2", u"{GIF}", u"DelayTime"}, u"File"},
        {{u"{kCGImagePropertyTIFFDictionary}", u"Artist"}, u"Capture"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sectionForPropertyPath(c.path), c.section) << std::string(c.path.back().begin(), c.path.back().end());
    }
    EXPECT_EQ(cleanedPropertyKey(u"{kCGImagePropertyPNG_Text}"), u"PNG Text");
}

TEST(PropertyFlatteningTest, LeavesBecomeEntriesWithPathIdsInKeyOrder) {
    P frame;
    frame.group(u"{GPS}").set(u"Longitude", P::ofReal(-0.1275));
    frame.group(u"{GPS}").set(u"Altitude", P::ofArray({P::ofInteger(12), P::ofReal(0.5)}));
    frame.group(u"{Exif}").set(u"MakerNote", P::ofData());
    frame.group(u"{Exif}").set(u"UserComment", P::ofText(u""));
    frame.group(u"{Exif}").set(u"Flash", P::ofBoolean(true));
    frame.set(u"Tags", P::ofArray({P::ofText(u"a"), P::ofData(), P::ofText(u"b")}));
    frame.set(u"Nested", P::ofArray({P::ofData()}));

    const auto entries = flattened(frame, {u"Frame 2"});
    std::vector<std::u16string> ids, values;
    for (const auto& entry : entries) {
        ids.push_back(entry.id);
        values.push_back(entry.value);
    }
    EXPECT_EQ(ids, (std::vector<std::u16string>{u"Frame 2.Tags", u"Frame 2.{Exif}.Flash", u"Frame 2.{GPS}.Altitude",
                                                u"Frame 2.{GPS}.Longitude"}));
    EXPECT_EQ(values, (std::vector<std::u16string>{u"a, b", u"1", u"12, 0.5", u"-0.1275"}));
    EXPECT_EQ(entries[2].name, u"Altitude");
    EXPECT_EQ(entries[2].section, u"Location");
}

TEST(PropertyFlatteningTest, ALeafWithoutAPathAndEmptyRenderingsGiveNothing) {
    EXPECT_TRUE(flattened(P::ofText(u"alone")).empty());
    EXPECT_EQ(renderProperty(P::ofArray({})), u"");
    EXPECT_FALSE(renderProperty(P::ofData()));
    EXPECT_FALSE(renderProperty(P()));
    EXPECT_EQ(renderProperty(P::ofReal(72.0)), u"72");
    EXPECT_EQ(renderProperty(P::ofInteger(-3)), u"-3");
}

TEST(ImagePropertyTest, RepeatedTextsBecomeOneArray) {
    P png;
    png.appendText(u"Comment", u"first");
    png.appendText(u"Comment", u"second");
    png.appendText(u"Comment", u"third");
    EXPECT_EQ(renderProperty(*png.find(u"Comment")), u"first, second, third");
    png.set(u"Comment", P::ofText(u"replaced"));
    EXPECT_EQ(png.members.size(), 1u);
    EXPECT_EQ(renderProperty(*png.find(u"Comment")), u"replaced");
}

}  // namespace
}  // namespace velquor::files
