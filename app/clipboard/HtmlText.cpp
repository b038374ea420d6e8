#include "app/clipboard/HtmlText.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <QSet>

namespace velquor::app {

namespace {

bool isTagNameCharacter(QChar c) { return c.isLetterOrNumber() || c == u':' || c == u'-'; }

const QSet<QString>& flatElements() {
    static const QSet<QString> names{"p",     "li",     "dt", "dd", "tr",  "td",  "th",       "thead", "tbody",
                                     "tfoot", "option", "br", "hr", "wbr", "col", "colgroup", "area",  "param"};
    return names;
}

}  // namespace

int htmlNestingDepth(QStringView html) {
    int depth = 0;
    int deepest = 0;
    for (qsizetype at = html.indexOf(u'<'); at >= 0; at = html.indexOf(u'<', at + 1)) {
        qsizetype start = at + 1;
        const bool closing = start < html.size() && html[start] == u'/';
        if (closing) ++start;
        if (start >= html.size() || !html[start].isLetter()) continue;
        qsizetype end = start;
        while (end < html.size() && isTagNameCharacter(html[end])) ++end;
        if (flatElements().contains(html.mid(start, end - start).toString().toLower())) continue;
        depth = closing ? std::max(0, depth - 1) : depth + 1;
        deepest = std::max(deepest, depth);
    }
    return deepest;
}

QVariant ResourcelessTextDocument::loadResource(int, const QUrl&) { return {}; }

std::optional<QString> htmlPlainText(const QString& inertHtml) {
    QStringEncoder encoder(QStringConverter::Utf8);
    const QByteArray utf8 = encoder.encode(inertHtml);
    if (encoder.hasError() || htmlNestingDepth(inertHtml) > maximumHtmlNesting) return std::nullopt;

    ResourcelessTextDocument document;
    document.setHtml(QString::fromUtf8(utf8));
    QString text = document.toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

}  // namespace velquor::app
