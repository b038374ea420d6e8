#include "app/clipboard/HtmlText.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace velquor::app {

QVariant ResourcelessTextDocument::loadResource(int, const QUrl&) { return {}; }

std::optional<QString> htmlPlainText(const QString& inertHtml) {
    QStringEncoder encoder(QStringConverter::Utf8);
    const QByteArray utf8 = encoder.encode(inertHtml);
    if (encoder.hasError()) return std::nullopt;

    ResourcelessTextDocument document;
    document.setHtml(QString::fromUtf8(utf8));
    QString text = document.toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

}  // namespace velquor::app
