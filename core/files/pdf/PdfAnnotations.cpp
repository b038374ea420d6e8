#include "core/files/pdf/PdfAnnotations.h"

#include <set>

namespace velquor::files {

namespace {

// The annotations found so far; an indirect one is taken once however many arrays list it.
class AnnotationList {
public:
    explicit AnnotationList(const PdfWorkBudget& budget) : budget_(budget) {}

    void add(QPDFObjectHandle annotation) {
        if (!annotation.isDictionary()) return;
        if (annotation.isIndirect() && !seen_.insert(annotation.getObjGen()).second) return;
        found_.push_back(annotation);
        budget_.checkAnnotationCount(found_.size());
    }

    void addAnnotationsOf(QPDFObjectHandle holder) {
        auto annotations = holder.getKey("/Annots");
        if (!annotations.isArray()) return;
        for (auto& annotation : annotations.getArrayAsVector()) add(annotation);
    }

    // Pop-ups and the annotations replied to hang off their annotation, not always off a page.
    void addLinkedAnnotations() {
        for (std::size_t i = 0; i < found_.size(); ++i) {
            budget_.checkTimeAndMemory();
            auto annotation = found_[i];
            add(annotation.getKey("/Popup"));
            add(annotation.getKey("/IRT"));
        }
    }

    std::vector<QPDFObjectHandle> release() { return std::move(found_); }

private:
    const PdfWorkBudget& budget_;
    std::set<QPDFObjGen> seen_;
    std::vector<QPDFObjectHandle> found_;
};

}  // namespace

std::vector<QPDFObjectHandle> allAnnotations(QPDF& pdf, const PdfWorkBudget& budget) {
    AnnotationList annotations(budget);
    for (auto& page : QPDFPageDocumentHelper(pdf).getAllPages()) {
        budget.checkTimeAndMemory();
        annotations.addAnnotationsOf(page.getObjectHandle());
    }
    for (auto& object : pdf.getAllObjects()) {
        budget.checkTimeAndMemory();
        auto dictionary = object.isStream() ? object.getDict() : object;
        if (!dictionary.isDictionary()) continue;
        annotations.addAnnotationsOf(dictionary);
        if (dictionary.getKey("/Type").isNameAndEquals("/Annot")) annotations.add(object);
    }
    annotations.addLinkedAnnotations();
    return annotations.release();
}

}  // namespace velquor::files
