#pragma once

#include "core/files/pdf/QpdfDocument.h"

namespace velquor::files {

// Removes what a PDF says about its makers, in place: the document information dictionary and
// any that older trailers name, the file identifier of an unencrypted file, XMP metadata
// streams and application data (/Metadata, /PieceInfo) in every object, and the text, rich
// text, subject, author and dates of every annotation the document holds. Annotations and form
// fields with an appearance on the pages of the page tree are flattened into the page content
// first, their appearances generated where the form asks for that; those without one, such as
// links, and those elsewhere stay annotations. qpdf failures and PdfBudgetExceeded propagate.
void removePrivateData(QpdfDocument& document);

// Whether a document, a written copy read back, still holds anything removePrivateData removes,
// in any of its objects: what a byte scan of its first bytes or its page tree would not show.
bool keepsPrivateData(QpdfDocument& document);

// Writes the document into an open file, keeping the streams' data as they are and any
// encryption the file had. Throws exportFailed when qpdf or a write fails or the budget's time
// runs out; the descriptor stays open.
void writePdf(QpdfDocument& document, int fd);

}  // namespace velquor::files
