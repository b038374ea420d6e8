#include "core/files/pdf/PdfBudget.h"

namespace velquor::files {

void PdfWorkBudget::checkTime() const {
    if (exceeded()) refuse();
}

void PdfWorkBudget::checkObjectCount(std::size_t objects) const {
    if (objects > PdfBudget::objects) refuse();
}

void PdfWorkBudget::checkAnnotationCount(std::size_t annotations) const {
    if (annotations > PdfBudget::annotations) refuse();
}

void PdfWorkBudget::checkRebuildSize(std::uint64_t byteCount) const {
    if (byteCount > PdfBudget::rebuiltByteCount) refuse();
}

void PdfWorkBudget::refuse() const {
    exceeded_ = true;
    throw PdfBudgetExceeded();
}

}  // namespace velquor::files
