#include "app/clipboard/ClipboardFindings.h"
#include "app/clipboard/ClipboardSnapshot.h"
#include "app/clipboard/ClipboardText.h"
#include "app/clipboard/HtmlText.h"
#include "app/clipboard/InertHtml.h"
#include "app/clipboard/RtfReader.h"
#include "tests/app/ModelTestSupport.h"
#include "tests/support/TemporaryDirectory.h"

#include <QImage>

#include <gtest/gtest.h>

namespace velquor::testing {
namespace {

std::u16string inert(std::u16string_view html) {
    const auto result = app::inertClipboardHTML(html);
    EXPECT_TRUE(result);
    return result.value_or(u"");
}

TEST(InertHtmlTest, RemovesEverythingThatCouldLoadOrRun) {
    const std::vector<std::pair<std::u16string_view, std::u16string_view>> cases{
        {u"Version:0.9\r\nStartHTML:00097\r\nsourceurl:x\n<p>a</p> EndHTML: here", u"<p>a</p> EndHTML: here"},
        {u"a<!-- note\nmore -->b", u"ab"},
        {u"<SCRIPT type=x>alert(1)</script >b", u"b"},
        {u"<style>p{}</style><head><title>t</title></head><iframe src=x>f</iframe>b", u"b"},
        {u"<object data=x>o</object><svg onload=x><g/></svg><math>m</math><noscript>n</noscript>b", u"b"},
        {u"<img src=x><link rel=stylesheet href=y><base href=z><meta http-equiv=refresh><embed src=e>"
         u"<source src=s><track src=t><input value=v>b",
         u"b"},
        {u"</script><style media=x>b", u"b"},
        {u"<?xml version=\"1.0\"?><!DOCTYPE html>b", u"b"},
        {u"<p style=\"background:url(x)\" onclick=\"go()\">b</p><a href=\"https://x\">c</a>", u"<p>b</p><a>c</a>"},
    };
    for (const auto& [html, expected] : cases) EXPECT_EQ(inert(html), expected);
}

TEST(InertHtmlTest, AScanThatCannotFinishHandsNothingOn) {
    std::u16string hostile;
    for (int i = 0; i < 20000; ++i) hostile += u"<script <script ";
    EXPECT_FALSE(app::inertClipboardHTML(hostile));
}

TEST(HtmlTextTest, ReadsVisibleTextAndKeepsHiddenCharacters) {
    EXPECT_EQ(app::htmlPlainText(qs(u"<p>a&nbsp;b\u200B</p><p>c<br>d</p>")), qs(u"a\u00A0b\u200B\nc\nd"));
    EXPECT_FALSE(app::htmlPlainText(QString(QChar(0xD800)) + "x"));
}

TEST(HtmlTextTest, NestingDeeperThanTheReaderCanAffordIsNotRead) {
    const std::vector<std::pair<QString, int>> depths{
        {"<div><p>a<p>b</div><b><i>c</i></b>", 2},
        {"<ul><li>a<li>b</ul><table><tr><td>x<td>y</table>", 1},
        {"</div></div><div>", 1},
        {"a < b, 1<2, <br><hr>", 0},
    };
    for (const auto& [html, depth] : depths) EXPECT_EQ(app::htmlNestingDepth(html), depth) << html.toStdString();

    const auto nested = [](int depth) { return QString("<div>").repeated(depth) + "deep"; };
    EXPECT_EQ(app::htmlPlainText(nested(app::maximumHtmlNesting)), "deep");
    EXPECT_FALSE(app::htmlPlainText(nested(app::maximumHtmlNesting + 1)));
    EXPECT_EQ(app::htmlPlainText(QString("<p>x").repeated(1000))->count(u'x'), 1000);
}

TEST(HtmlTextTest, TheDocumentNeverLoadsAResource) {
    TemporaryDirectory folder;
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    const auto path = QString::fromStdString((folder.path() / "pixel.png").string());
    ASSERT_TRUE(image.save(path));
    const auto url = QUrl::fromLocalFile(path);

    QTextDocument ordinary;
    ordinary.setHtml("<img src=\"" + url.toString() + "\">");
    ASSERT_TRUE(ordinary.resource(QTextDocument::ImageResource, url).isValid());

    app::ResourcelessTextDocument document;
    document.setHtml("<img src=\"" + url.toString() + "\"><link rel=stylesheet href=\"" + url.toString() + "\">");
    EXPECT_FALSE(document.resource(QTextDocument::ImageResource, url).isValid());
    EXPECT_FALSE(document.resource(QTextDocument::StyleSheetResource, url).isValid());
}

TEST(ClipboardTextTest, DecodesHtmlAsUtf8ThenUtf16ThenLatin1) {
    EXPECT_EQ(app::decodedHtml("caf\xc3\xa9"), qs(u"caf\u00E9"));
    const char16_t utf16[] = u"\uFEFFhi";
    EXPECT_EQ(app::decodedHtml(QByteArray(reinterpret_cast<const char*>(utf16), 6)), "hi");
    EXPECT_EQ(app::decodedHtml("caf\xe9!"), qs(u"caf\u00E9!"));
}

TEST(ClipboardTextTest, PrefersPlainTextThenHtmlThenRtf) {
    QMimeData all;
    all.setData("text/rtf", "{\\rtf1 rtf}");
    EXPECT_EQ(app::clipboardText(&all), "rtf");
    all.setHtml("<p>html</p>");
    EXPECT_EQ(app::clipboardText(&all), "html");
    all.setText("plain");
    EXPECT_EQ(app::clipboardText(&all), "plain");

    QMimeData unreadable;
    unreadable.setData("application/rtf", "not rtf at all");
    unreadable.setData("text/html", QByteArray(16'777'217, '<'));
    EXPECT_FALSE(app::clipboardText(&unreadable));
    EXPECT_FALSE(app::clipboardText(nullptr));
}

QStringList findingsOf(const std::function<void(QMimeData&)>& fill) {
    QMimeData data;
    fill(data);
    return app::clipboardFlavorFindings(&data);
}

QStringList htmlFindings(const QString& html) {
    auto findings = findingsOf([&](QMimeData& data) { data.setHtml(html); });
    findings.removeAll("HTML flavor present");
    return findings;
}

TEST(ClipboardFindingsTest, HtmlMarkupThatHidesSomething) {
    const std::vector<std::pair<QString, QStringList>> cases{
        {"<p>plain</p>", {}},
        {"<p data-id=\"4\">x</p>", {"HTML carries source or editor attributes"}},
        {"<p style=\"MSO-bidi:x\">x</p>", {"HTML carries source or editor attributes"}},
        {"<img src=\"t.gif\" width=\"1\" height=\"1\">", {"HTML contains possible tracking pixel"}},
        {"<IMG height='1' src=t.gif width=1>", {"HTML contains possible tracking pixel"}},
        {"<img width=\"20\" height=\"30\">", {}},
        {"<a href=\"mailto:a@b.example?subject=Hi\">mail</a>", {"HTML contains prefilled mailto link"}},
        {"<a href=\"https://evil.example/login\">https://bank.example/login</a>",
         {"HTML contains mismatched link text and URL"}},
        {"<a href=\"https://Bank.Example/a\">https://bank.example/b</a>", {}},
        {"<a href=\"https://bank.example/a\">Bank</a>", {}},
    };
    for (const auto& [html, expected] : cases) EXPECT_EQ(htmlFindings(html), expected) << html.toStdString();
}

TEST(ClipboardFindingsTest, FlavoursInOrderWithoutRepeats) {
    const auto findings = findingsOf([](QMimeData& data) {
        data.setData("text/x-moz-url", "https://a.example");
        data.setData("text/uri-list", "https://a.example");
        data.setData("application/rtf", "{\\rtf1 a}");
        data.setData("text/rtf", "{\\rtf1 a}");
        data.setData("text/html", "<p data-x=1 data-y=2>a</p>");
    });
    EXPECT_EQ(findings,
              (QStringList{"HTML flavor present", "HTML carries source or editor attributes", "RTF flavor present",
                           "public.url flavor present", "Apple URL pasteboard type flavor present"}));
    EXPECT_EQ(findingsOf([](QMimeData& data) { data.setData("text/html", "caf\xe9 data-x"); }),
              QStringList{"HTML flavor present"});
}

TEST(ClipboardSnapshotTest, HoldsEveryFormatAndRestoresIt) {
    QMimeData data;
    data.setText("t");
    data.setData("application/x-empty", "");
    data.setData("application/x-custom", QByteArray("\0\1", 2));
    const auto snapshot = app::snapshotClipboard(&data);
    ASSERT_TRUE(snapshot);
    ASSERT_EQ(snapshot->items.size(), 1u);
    EXPECT_EQ(snapshot->items[0].size(), 2u);
    const auto restored = app::restoredMimeData(*snapshot);
    EXPECT_EQ(restored->text(), "t");
    EXPECT_EQ(restored->data("application/x-custom"), QByteArray("\0\1", 2));

    QMimeData empty;
    EXPECT_FALSE(app::snapshotClipboard(&empty));
    QMimeData sixtyFour;
    for (int i = 0; i < 64; ++i) sixtyFour.setData(QStringLiteral("application/x-%1").arg(i), "x");
    EXPECT_TRUE(app::snapshotClipboard(&sixtyFour));
    QMimeData fullEntry;
    fullEntry.setData("application/x-full", QByteArray(16'777'216, 'f'));
    EXPECT_TRUE(app::snapshotClipboard(&fullEntry));
}

std::optional<std::u16string> rtf(std::string_view document) {
    return app::rtfPlainText({reinterpret_cast<const std::uint8_t*>(document.data()), document.size()});
}

TEST(RtfReaderTest, ReadsTheVisibleText) {
    const std::vector<std::pair<std::string_view, std::u16string_view>> cases{
        {"{\\rtf1 Hello {\\b bold}\\par next\\line line\\tab tab}", u"Hello bold\nnext\nline\ttab"},
        {"{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red0;}{\\stylesheet{s}}{\\info{\\author Me}}Body}", u"Body"},
        {"{\\rtf1{\\*\\generator Writer;}{\\pict\\pngblip 89504e47}{\\object x}{\\header H}{\\footer F}Body}", u"Body"},
        {"{\\rtf1 a\\u8212?b\\uc2\\u8211??c\\uc0\\u8230 d}", u"a\u2014b\u2013c\u2026d"},
        {"{\\rtf1 \\u-10179?\\u-8704?}", u"\U0001F600"},
        {"{\\rtf1 lone\\u-10179?}", u"lone\uFFFD"},
        {"{\\rtf1\\ansi caf\\'e9 \\'93q\\'94}", u"caf\u00E9 \u201Cq\u201D"},
        {"{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}", u"\u041F\u0440\u0438"},
        {"{\\rtf1\\ansi\\ansicpg932 \\'93\\'fa\\'96\\'7b}", u"\u65E5\u672C"},
        {"{\\rtf1 a\\{b\\}c\\\\d\\~e\\_f\\-g}", u"a{b}c\\d\u00A0e\u2011fg"},
        {"{\\rtf1 x\\zwj y\\rtlmark z\\zwbo}", u"x\u200Dy\u200Fz\u200B"},
        {"{\\rtf1 a\\bin4 {}}}b}", u"ab"},
        {"{\\rtf1 a\\bin999999 b}", u"a"},
        {"{\\rtf1 unclosed {group", u"unclosed group"},
        {"{\\rtf1 done} after", u"done"},
        {"{\\rtf1 \\field{\\*\\fldinst HYPERLINK \"https://x\"}{\\fldrslt shown}}", u"shown"},
    };
    for (const auto& [document, expected] : cases) {
        const auto text = rtf(document);
        ASSERT_TRUE(text) << document;
        EXPECT_EQ(*text, expected) << document;
    }
}

TEST(RtfReaderTest, RefusesWhatIsNotRtfOrNestsTooDeep) {
    EXPECT_FALSE(rtf(""));
    EXPECT_FALSE(rtf("plain text"));
    EXPECT_FALSE(rtf("{\\rt"));
    const std::string deep = "{\\rtf1 " + std::string(app::maximumRtfGroupDepth, '{') + "x";
    EXPECT_FALSE(rtf(deep));
    const std::string allowed = "{\\rtf1 " + std::string(app::maximumRtfGroupDepth - 1, '{') + "x";
    EXPECT_EQ(rtf(allowed), u"x");
}

}  // namespace
}  // namespace velquor::testing
