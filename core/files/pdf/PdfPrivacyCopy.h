#pragma once

class QPDF;

namespace velquor::files {

// Removes what a PDF says about its makers, in place: the document information dictionary, the
// file identifier of an unencrypted file, XMP metadata streams and application data
// (/Metadata, /PieceInfo) wherever they hang, and each annotation's text, rich text, subject,
// author and dates. Annotations and form fields with an appearance are flattened into the page
// content first, their appearances generated where the form asks for that; those without one,
// such as links, stay annotations. qpdf failures propagate.
void removePrivateData(QPDF& pdf);

// Writes the document into an open file, keeping the streams' data as they are and any
// encryption the file had. Throws exportFailed when qpdf or a write fails; the descriptor stays
// open.
void writePdf(QPDF& pdf, int fd);

}  // namespace velquor::files
