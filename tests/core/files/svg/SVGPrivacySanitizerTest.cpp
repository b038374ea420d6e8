#include "core/files/FileSanitizerError.h"
#include "core/files/InspectorRegistry.h"
#include "core/files/svg/SVGPrivacySanitizer.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/ReportRows.h"
#include "tests/support/TemporaryDirectory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace velquor::files {
namespace {

using ::testing::ElementsAre;
using velquor::testing::errorOf;
using velquor::testing::readFile;
using velquor::testing::TemporaryDirectory;
using Row = velquor::testing::ReportRow;
using velquor::testing::reportRows;

TEST(SVGPrivacySanitizerTest, CleaningRemovesTheConstructsAndTidiesTheLines) {
    const std::pair<std::u16string_view, std::u16string_view> cases[] = {
        {u"<svg>\r\n\t  <g>\u2028  <rect/>  \n\n</g>\r</svg>", u"<svg>\n<g>\n<rect/>\n</g>\n</svg>\n"},
        {u"<a href=\"https://x.com/a\">t</a>", u"<a>t</a>\n"},
        {u"<use href=\"#grad\" xlink:href=' #g'/>", u"<use href=\"#grad\" xlink:href=' #g'/>\n"},
        {u"<p style=\"fill:url(#grad);background:url( 'http://x/y.png' )\"/>",
         u"<p style=\"fill:url(#grad);background:none\"/>\n"},
        {u"<p fill=\"url('#grad')\" stroke='url( \" #a\")'/>", u"<p fill=\"url('#grad')\" stroke='url( \" #a\")'/>\n"},
        {u"&custom; &amp;&lt;&gt;&quot;&apos; &#169;", u"&amp;&lt;&gt;&quot;&apos; &#169;\n"},
        {u"<style>@import url(\"x.css\") screen; p{}</style>", u"<style> p{}</style>\n"},
        {u"<style>@import 'theme.css';</style>", u"<style></style>\n"},
        {u"<svg onload = 'x()' ONCLICK=\"y\">", u"<svg>\n"},
        {u"<g inkscape:label=\"Layer 1\" sodipodi:nodetypes='cc'>", u"<g>\n"},
        {u"<metadata><rdf:RDF>x</rdf:RDF></metadata><dc:title>T</dc:title>", u"\n"},
        {u"<?xml-stylesheet href=\"a.css\"?><svg><!-- a\n b --></svg>", u"<svg></svg>\n"},
        {u"<!DOCTYPE svg [<!ENTITY a \"b\">]><svg>&a;</svg>", u"<svg></svg>\n"},
        {u"<script>x()</script><foreignObject><p>hi</p></foreignObject>", u"\n"},
        {u"", u"\n"},
        {u"  \n \t ", u"\n"},
    };
    const SVGPrivacySanitizer sanitizer;
    for (const auto& [input, expected] : cases) {
        EXPECT_EQ(sanitizer.clean(input), expected) << std::string(input.begin(), input.end());
    }
}

TEST(SVGPrivacySanitizerTest, InspectionCountsEachKindOnceSorted) {
    const auto counted = SVGPrivacySanitizer::entries(u"<svg><!--a--><script>x</script><!--b--></svg>");
    ASSERT_THAT(reportRows(counted),
                ElementsAre(Row{u"SVG", u"Script blocks", u"1"}, Row{u"SVG", u"XML comments", u"2"}));
    EXPECT_EQ(counted[0].id, u"SVG-Script blocks");

    const std::u16string everything =
        u"<!--c--><!DOCTYPE svg>&e;<?xml-stylesheet x?><metadata></metadata><script></script>"
        u"<foreignObject></foreignObject><svg onload='x' href='http://a' style='background:url(b)' "
        u"inkscape:x='1'>/Users/jane/a.png<dc:creator>J</dc:creator>data:image/png data:font/woff "
        u"data:application/zip</svg>";
    const auto entries = SVGPrivacySanitizer::entries(everything);
    EXPECT_EQ(entries.size(), 16u);
    for (const auto& entry : entries) EXPECT_EQ(entry.value, u"1") << std::string(entry.name.begin(), entry.name.end());
}

TEST(SVGPrivacySanitizerTest, OnlyUtf8TextWithAnSvgRootIsRead) {
    const TemporaryDirectory directory;
    const SVGPrivacySanitizer sanitizer;
    const auto unreadable = FileSanitizerError::Case::unreadableFile;
    EXPECT_EQ(errorOf([&] { sanitizer.inspect(directory.write("latin1.svg", "<svg>caf\xE9</svg>")); }), unreadable);
    EXPECT_EQ(
        errorOf([&] { sanitizer.inspect(directory.write("utf16.svg", std::string("\xFF\xFE<\0s\0v\0g\0>\0", 12))); }),
        unreadable);
    EXPECT_EQ(errorOf([&] { sanitizer.inspect(directory.write("html.svg", "<html><svgx/></html>")); }), unreadable);
    EXPECT_EQ(errorOf([&] { sanitizer.inspect(directory.path() / "missing.svg"); }), unreadable);
    EXPECT_EQ(errorOf([&] { sanitizer.inspect(directory.write("image.xml", "<svg/>")); }),
              FileSanitizerError::Case::unsupportedFile);

    const auto report = inspectReport(directory.write("CAPS.SVG", "\xEF\xBB\xBF<SVG><!-- x --></SVG>"));
    EXPECT_EQ(report.typeDescription, u"SVG document");
    EXPECT_EQ(report.fileName, u"CAPS.SVG");
    EXPECT_EQ(report.byteCount, 24);
    EXPECT_EQ(report.pixelSize, std::nullopt);
    EXPECT_EQ(report.entries.size(), 1u);
}

TEST(SVGPrivacySanitizerTest, PrivacyCopyLeavesNothingToReport) {
    const TemporaryDirectory directory;
    const auto source = directory.write(
        "logo.svg",
        "<?xml version=\"1.0\"?>\n<!DOCTYPE svg [\n  <!ENTITY owner \"Jane\">\n]>\n<!-- drawn by Jane -->\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" onload=\"track()\" inkscape:version=\"1.3\">\n"
        "  <script>fetch('https://t.example/p')</script>\n"
        "  <defs><linearGradient id=\"grad\"/></defs>\n"
        "  <rect fill=\"url(#grad)\" width=\"10\" height=\"10\"/>\n"
        "  <image href=\"https://cdn.example/p.png\"/>\n"
        "  <text>&owner; &amp; &lt; &gt; &quot; &apos;</text>\n</svg>\n");
    const auto copy = directory.path() / "logo-privacy.svg";

    createPrivacyCopy(source, copy);

    const auto written = readFile(copy);
    EXPECT_EQ(written,
              "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\">\n"
              "<defs><linearGradient id=\"grad\"/></defs>\n<rect fill=\"url(#grad)\" width=\"10\" height=\"10\"/>\n"
              "<image/>\n<text> &amp; &lt; &gt; &quot; &apos;</text>\n</svg>\n");
}

TEST(SVGPrivacySanitizerTest, EntityBombsAndHugeAttributesFinish) {
    std::string bomb = "<?xml version=\"1.0\"?>\n<!DOCTYPE lolz [\n <!ENTITY lol \"lol\">\n";
    for (int level = 1; level < 10; ++level) {
        bomb += " <!ENTITY lol" + std::to_string(level) + " \"";
        for (int i = 0; i < 10; ++i) bomb += level == 1 ? "&lol;" : "&lol" + std::to_string(level - 1) + ";";
        bomb += "\">\n";
    }
    bomb += "]>\n<svg>&lol9;</svg>\n";
    const std::string huge = "<svg><rect data-x=\"" + std::string(8'000'000, 'a') + "\"/></svg>";

    const TemporaryDirectory directory;
    const auto bombCopy = directory.path() / "bomb-privacy.svg";
    createPrivacyCopy(directory.write("bomb.svg", bomb), bombCopy);
    EXPECT_EQ(readFile(bombCopy), "<?xml version=\"1.0\"?>\n<svg></svg>\n");
    const auto hugeCopy = directory.path() / "huge-copy.txt";  // a destination without .svg
    createPrivacyCopy(directory.write("huge.svg", huge), hugeCopy);
    EXPECT_EQ(readFile(hugeCopy), huge + "\n");
}

}  // namespace
}  // namespace velquor::files
