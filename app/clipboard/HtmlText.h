#pragma once

#include <QString>
#include <QTextDocument>
#include <QVariant>

#include <optional>

namespace velquor::app {

// A rich-text document that never loads a resource: an image, style sheet or any other
// reference in clipboard HTML fetches nothing, whatever its address.
class ResourcelessTextDocument : public QTextDocument {
public:
    using QTextDocument::QTextDocument;

protected:
    QVariant loadResource(int type, const QUrl& name) override;
};

// Qt's HTML reader takes time quadratic in how deeply elements nest (10,000 nested tables take
// seconds), so deeper HTML is not read at all.
inline constexpr int maximumHtmlNesting = 256;

// The visible text of HTML that inertClipboardHTML already made inert, as the rich-text reader
// lays it out: blocks and line breaks become line feeds, and every other character stays as it
// is, so a no-break space or an invisible character is still there for the inspection. Nothing
// when the HTML holds an unpaired surrogate, which UTF-8 cannot carry without loss, or nests
// elements deeper than maximumHtmlNesting.
std::optional<QString> htmlPlainText(const QString& inertHtml);

// How deeply the elements of the HTML nest, counting only those that can contain themselves:
// paragraphs, list items, table rows and cells close themselves, and void elements hold nothing.
int htmlNestingDepth(QStringView html);

}  // namespace velquor::app
