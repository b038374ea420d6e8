#include "app/clipboard/ClipboardText.h"

#include "app/QtText.h"
#include "app/clipboard/ClipboardFormats.h"
#include "app/clipboard/HtmlText.h"
#include "app/clipboard/InertHtml.h"
#include "app/clipboard/RtfReader.h"

#include <QStringDecoder>

#include <span>

namespace velquor::app {

namespace {

// Nothing unless every byte belongs to a well-formed character; UTF-16 takes whole code units.
std::optional<QString> strictlyDecoded(const QByteArray& bytes, QStringConverter::Encoding encoding) {
    if (encoding == QStringConverter::Utf16 && bytes.size() % 2 != 0) return std::nullopt;
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) return std::nullopt;
    return text;
}

std::optional<QString> htmlText(const QMimeData& data) {
    if (!data.hasFormat(htmlFormat)) return std::nullopt;
    const QByteArray html = data.data(htmlFormat);
    if (html.size() > clipboardFlavorByteLimit) return std::nullopt;
    const auto inert = inertClipboardHTML(engineView(decodedHtml(html)));
    if (!inert) return std::nullopt;
    return htmlPlainText(qtString(*inert));
}

std::optional<QString> rtfText(const QMimeData& data) {
    for (const auto& format : rtfFormats) {
        if (!data.hasFormat(format)) continue;
        const QByteArray rtf = data.data(format);
        if (rtf.size() > clipboardFlavorByteLimit) continue;
        const auto bytes =
            std::span(reinterpret_cast<const std::uint8_t*>(rtf.constData()), static_cast<std::size_t>(rtf.size()));
        if (auto text = rtfPlainText(bytes)) return qtString(*text);
    }
    return std::nullopt;
}

}  // namespace

QString decodedHtml(const QByteArray& html) {
    if (auto text = strictlyDecoded(html, QStringConverter::Utf8)) return *text;
    if (auto text = strictlyDecoded(html, QStringConverter::Utf16)) return *text;
    return QString::fromLatin1(html);
}

std::optional<QString> clipboardText(const QMimeData* data) {
    if (!data) return std::nullopt;
    if (data->hasText()) return data->text();
    if (auto text = htmlText(*data)) return text;
    return rtfText(*data);
}

}  // namespace velquor::app
