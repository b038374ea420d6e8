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

// The visible text of HTML that inertClipboardHTML already made inert, as the rich-text reader
// lays it out: blocks and line breaks become line feeds, and every other character stays as it
// is, so a no-break space or an invisible character is still there for the inspection. Nothing
// when the HTML holds an unpaired surrogate, which UTF-8 cannot carry without loss.
std::optional<QString> htmlPlainText(const QString& inertHtml);

}  // namespace velquor::app
