#pragma once

#include "core/files/pdf/PdfBudget.h"
#include "core/files/pdf/QpdfHeaders.h"

#include <functional>

namespace velquor::files {

// Calls the visitor on every dictionary of the document: the trailer, every object of the
// cross-reference table whether anything refers to it or not (a stream's dictionary for a
// stream), and the direct dictionaries nested inside each. Indirect references are not
// followed, since their objects have their own turn. Iterative, so that deep nesting cannot
// exhaust the stack. The time budget is checked at every object.
void forEachDictionary(QPDF& pdf, const PdfWorkBudget& budget,
                       const std::function<void(QPDFObjectHandle dictionary)>& visit);

}  // namespace velquor::files
