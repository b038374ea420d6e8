#pragma once

#include "core/files/pdf/PdfBudget.h"
#include "core/files/pdf/QpdfHeaders.h"

#include <array>
#include <vector>

namespace velquor::files {

// What an annotation says about its author and its history, beyond its appearance.
inline constexpr std::array<const char*, 6> annotationTextKeys{"/Contents", "/RC", "/Subj",
                                                               "/T",        "/M",  "/CreationDate"};

// Every annotation dictionary the document holds, each once: first those on the pages of the
// page tree, in page order; then, in object order, those of any other object with /Annots
// (template pages, pages the tree does not list) and any object typed /Annot; then the pop-ups
// and replied-to annotations these name. A viewer can show every one of them. More annotations
// than the budget allows, or a walk past its time, throws PdfBudgetExceeded.
std::vector<QPDFObjectHandle> allAnnotations(QPDF& pdf, const PdfWorkBudget& budget);

}  // namespace velquor::files
