#pragma once

#include <QMimeData>
#include <QString>

#include <optional>

namespace velquor::app {

// HTML data as text: UTF-8, failing that UTF-16, failing that Latin-1, which always succeeds.
QString decodedHtml(const QByteArray& html);

// The clipboard's text: its plain text when it has one, otherwise the visible text of its inert
// HTML, otherwise of its RTF. HTML or RTF above the flavour limit, or that cannot be read, falls
// through to the next source; nothing when none is left.
std::optional<QString> clipboardText(const QMimeData* data);

}  // namespace velquor::app
