// SVG read by namespace and local name: whatever prefix a construct is written under, inspection
// reports it and the copy loses it; what no known namespace explains fails the copy.
#include "core/files/FileSanitizerError.h"
#include "core/files/InspectorRegistry.h"
#include "core/files/svg/SVGPrivacySanitizer.h"
#include "core/files/svg/SvgXmlDocument.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/ReportRows.h"
#include "tests/support/SvgFixtures.h"
#include "tests/support/TemporaryDirectory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

namespace velquor::files {
namespace {

using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::Not;
using velquor::testing::errorOf;
using velquor::testing::readFile;
using velquor::testing::reportRows;
using velquor::testing::TemporaryDirectory;
using Row = velquor::testing::ReportRow;

std::u16string widened(std::string_view text) { return {text.begin(), text.end()}; }

std::string narrowed(std::u16string_view text) { return {text.begin(), text.end()}; }

constexpr std::string_view namespaces =
    " xmlns='http://www.w3.org/2000/svg' xmlns:s='http://www.w3.org/2000/svg'"
    " xmlns:l='http://www.w3.org/1999/xlink' xmlns:h='http://www.w3.org/1999/xhtml'"
    " xmlns:e='http://www.inkscape.org/namespaces/inkscape'"
    " xmlns:p='http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd'"
    " xmlns:m='http://purl.org/dc/elements/1.1/' xmlns:q='http://example.com/private'";

std::u16string drawing(std::string_view body) {
    return widened("<svg" + std::string(namespaces) + ">" + std::string(body) + "<rect/></svg>");
}

struct Spelling {
    const char* what;
    std::string_view body;
    std::vector<Row> rows;
    std::string_view gone;  // a trace that no copy may keep; empty where the row stays
};

const Spelling spellings[] = {
    {"a prefixed script", "<s:script>track()</s:script>", {{u"SVG", u"Script blocks", u"1"}}, "track()"},
    {"an XHTML script outside foreignObject",
     "<h:script>track()</h:script>",
     {{u"SVG", u"Script blocks", u"1"}},
     "track()"},
    {"prefixed metadata", "<s:metadata>Jane</s:metadata>", {{u"SVG", u"Metadata blocks", u"1"}}, "Jane"},
    {"a prefixed foreignObject",
     "<s:foreignObject><h:iframe src='https://t.example/f'/></s:foreignObject>",
     {{u"SVG", u"Embedded HTML", u"1"}},
     "t.example"},
    {"XHTML outside foreignObject",
     "<g xmlns='http://www.w3.org/1999/xhtml'><img src='https://t.example/i'/></g>",
     {{u"SVG", u"Embedded HTML", u"1"}},
     "t.example"},
    {"a Dublin Core creator under another prefix",
     "<m:creator>Jane Roe</m:creator>",
     {{u"SVG", u"Generator fields", u"1"}},
     "Jane Roe"},
    {"an Inkscape attribute under another prefix",
     "<g e:export-filename='/home/jane/plan.png'/>",
     {{u"SVG", u"Editor namespaces", u"1"}},
     "/home/jane"},
    {"an editor element",
     "<p:namedview pagecolor='#fff' e:window-width='1920'/>",
     {{u"SVG", u"Editor namespaces", u"1"}},
     "1920"},
    {"an event handler on a prefixed attribute",
     "<g s:onclick='track()'/>",
     {{u"SVG", u"Event handlers", u"1"}},
     "track()"},
    {"an animation that sets an event handler",
     "<set attributeName='onclick' to='track()'/>",
     {{u"SVG", u"Event handlers", u"1"}},
     "track()"},
    {"an animation that sets a link",
     "<a><set attributeName='href' to='https://t.example/c'/></a>",
     {{u"SVG", u"External hrefs", u"1"}},
     "t.example"},
    {"an animation through values",
     "<a><animate attributeName='l:href' values='#a; https://t.example/c'/></a>",
     {{u"SVG", u"External hrefs", u"1"}},
     "t.example"},
    {"an animation to an unclosed url()",
     "<animate attributeName='fill' to='url(https://t.example/p'/>",
     {{u"SVG", u"CSS resource references", u"1"}, {u"SVG", u"External hrefs", u"1"}},
     "t.example"},
    {"a link under another prefix, counted by its pattern",
     "<use l:href='https://t.example/s.svg'/>",
     {{u"SVG", u"External hrefs", u"1"}},
     "t.example"},
    {"an attribute in an unknown namespace", "<g q:owner='Jane'/>", {{u"SVG", u"Unknown namespaces", u"1"}}, ""},
    {"an element in an unknown namespace", "<q:note>Jane</q:note>", {{u"SVG", u"Unknown namespaces", u"1"}}, ""},
    {"a prefix bound to nothing", "<z:note>Jane</z:note>", {{u"SVG", u"Unknown namespaces", u"1"}}, ""},
};

TEST(SvgStructureTest, EverySpellingIsReportedAndOnlyWhatCannotBeClassifiedStays) {
    const SVGPrivacySanitizer sanitizer;
    for (const auto& spelling : spellings) {
        SCOPED_TRACE(spelling.what);
        const auto svg = drawing(spelling.body);
        EXPECT_THAT(reportRows(SVGPrivacySanitizer::entries(svg)), ElementsAreArray(spelling.rows));

        const auto cleaned = sanitizer.clean(svg);
        if (spelling.gone.empty()) {
            EXPECT_THAT(reportRows(SVGPrivacySanitizer::entries(cleaned)), ElementsAreArray(spelling.rows));
        } else {
            EXPECT_THAT(narrowed(cleaned), Not(HasSubstr(spelling.gone)));
            EXPECT_THAT(narrowed(cleaned), HasSubstr("<rect/>"));
            EXPECT_TRUE(SVGPrivacySanitizer::entries(cleaned).empty()) << narrowed(cleaned);
        }
    }
}

TEST(SvgStructureTest, WhatStaysInsideTheDocumentIsLeftAlone) {
    const std::string_view kept[] = {
        "<a l:href='#top'><set attributeName='href' to='#next'/></a>",
        "<animate attributeName='fill' values='url(#a);url( \"#b\")'/>",
        "<animate attributeName='width' to='https://not-a-link.example'/>",
        "<text xml:space='preserve' l:title='Plan'>Plan</text>",
        "<s:g><s:rect/></s:g>",
    };
    const SVGPrivacySanitizer sanitizer;
    for (const auto body : kept) {
        const auto svg = drawing(body);
        EXPECT_TRUE(SVGPrivacySanitizer::entries(svg).empty()) << body;
        EXPECT_EQ(sanitizer.clean(svg), svg + u"\n") << body;
    }
}

TEST(SvgStructureTest, ThePrefixedDrawingIsReportedAndItsCopyCarriesNoneOfIt) {
    const TemporaryDirectory directory;
    const auto source = directory.write("plan.svg", velquor::testing::prefixedPrivateSvg());
    EXPECT_THAT(reportRows(inspectReport(source)),
                ElementsAreArray({Row{u"SVG", u"Editor namespaces", u"1"}, Row{u"SVG", u"Embedded HTML", u"1"},
                                  Row{u"SVG", u"External hrefs", u"2"}, Row{u"SVG", u"Metadata blocks", u"1"},
                                  Row{u"SVG", u"Script blocks", u"1"}}));
    const auto copy = directory.path() / "plan-privacy.svg";

    createPrivacyCopy(source, copy);

    EXPECT_TRUE(inspectReport(copy).entries.empty());
    const auto written = readFile(copy);
    for (const char* trace : {"tracker.example", "Jane Roe", "/home/jane", "cookie", "iframe", "<set"}) {
        EXPECT_THAT(written, Not(HasSubstr(trace))) << trace;
    }
    EXPECT_THAT(written, HasSubstr("<rect width=\"10\" height=\"10\"/>"));
    EXPECT_THAT(written, HasSubstr("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg"));
}

TEST(SvgStructureTest, ACopyHoldingWhatNoKnownNamespaceExplainsIsRefused) {
    const TemporaryDirectory directory;
    const auto source =
        directory.write("tagged.svg",
                        "<svg xmlns='http://www.w3.org/2000/svg' xmlns:q='http://example.com/crm'><!-- c -->"
                        "<g q:customer='Jane Roe'/></svg>");
    const auto copy = directory.path() / "tagged-privacy.svg";
    EXPECT_EQ(errorOf([&] { createPrivacyCopy(source, copy); }), FileSanitizerError::Case::verificationFailed);
    EXPECT_FALSE(std::filesystem::exists(copy));
}

// Entity declarations are never read and references never expanded, even where the pattern
// that removes document types cannot match.
TEST(SvgStructureTest, NoEntityIsEverExpanded) {
    const auto svg = u"<!DOCTYPE svg [<!ENTITY a '<s:script>x()</s:script>'>]><svg" + widened(namespaces) +
                     u">&a;<g s:onload='&a;'/></svg>";
    const auto document = SvgXmlDocument::parse(svg);
    ASSERT_NE(document.root(), nullptr);
    EXPECT_THAT(narrowed(document.serialized(false)), Not(HasSubstr("x()")));
}

TEST(SvgStructureTest, DocumentsBeyondTheParsersBoundsAreUnreadable) {
    std::u16string deep = u"<svg>";
    for (int i = 0; i < 300; ++i) deep += u"<g>";
    std::u16string crowded = u"<svg>";
    crowded.reserve(SvgXmlDocument::maximumNodeCount * 4 + 16);
    for (std::size_t i = 0; i < SvgXmlDocument::maximumNodeCount; ++i) crowded += u"<g/>";
    const std::u16string hugeText = u"<svg><text>" + std::u16string(11'000'000, u'a') + u"</text></svg>";
    for (const std::u16string* text : std::initializer_list<const std::u16string*>{&deep, &crowded, &hugeText}) {
        EXPECT_EQ(errorOf([&] { SvgXmlDocument::parse(*text); }), FileSanitizerError::Case::unreadableFile)
            << text->size();
    }
    EXPECT_EQ(errorOf([&] { SVGPrivacySanitizer::entries(deep); }), FileSanitizerError::Case::unreadableFile);

    std::u16string shallow = u"<svg>";
    for (int i = 0; i < 200; ++i) shallow += u"<g>";
    EXPECT_NE(SvgXmlDocument::parse(shallow).root(), nullptr) << "damaged but within bounds";
}

}  // namespace
}  // namespace velquor::files
