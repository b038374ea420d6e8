#pragma once

#include <QMimeData>
#include <QStringList>

namespace velquor::app {

// What travels with the clipboard's text, as sentences in a fixed order without repeats: the
// HTML flavour and what its markup hides (source and editor attributes, a tracking pixel, a
// prefilled mailto link, a link whose visible address names another host), the RTF flavour
// and the link flavours.
QStringList clipboardFlavorFindings(const QMimeData* data);

}  // namespace velquor::app
