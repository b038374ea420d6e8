#include "core/files/pdf/PdfPrivacyCopy.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/pdf/PdfAnnotations.h"
#include "core/files/pdf/PdfObjectWalk.h"
#include "core/files/pdf/QpdfHeaders.h"
#include "core/posix/FileDescriptor.h"

#include <algorithm>
#include <array>
#include <exception>
#include <span>
#include <string_view>
#include <vector>

namespace velquor::files {

namespace {

// Keys that carry metadata wherever they appear: XMP streams and application private data.
constexpr std::array<const char*, 2> metadataKeys{"/Metadata", "/PieceInfo"};

void removeMetadataEverywhere(QPDF& pdf, const PdfWorkBudget& budget) {
    forEachDictionary(pdf, budget, [](QPDFObjectHandle dictionary) {
        for (const char* key : metadataKeys) dictionary.removeKey(key);
    });
}

// Annotations that have no appearance at all (links, for one) that qpdf's flattening would drop
// with the rest, and the page each sits on.
struct SetAsideAnnotations {
    QPDFObjectHandle page;
    std::vector<QPDFObjectHandle> annotations;
};

bool isSubtype(QPDFObjectHandle annotation, const char* subtype) {
    return annotation.getKey("/Subtype").isNameAndEquals(subtype);
}

// Takes annotations without an appearance off their pages, so that flattening never sees them.
// A widget stays for the form's flattening; a popup only shows its parent's text and goes.
std::vector<SetAsideAnnotations> setAsideAnnotationsWithoutAppearance(QPDF& pdf, const PdfWorkBudget& budget) {
    std::vector<SetAsideAnnotations> setAside;
    for (auto& page : QPDFPageDocumentHelper(pdf).getAllPages()) {
        budget.checkTimeAndMemory();
        auto pageObject = page.getObjectHandle();
        auto annotations = pageObject.getKey("/Annots");
        if (!annotations.isArray()) continue;
        SetAsideAnnotations kept{pageObject, {}};
        std::vector<QPDFObjectHandle> remaining;
        for (auto& annotation : annotations.getArrayAsVector()) {
            if (!annotation.isDictionary() || annotation.hasKey("/AP") || isSubtype(annotation, "/Widget")) {
                remaining.push_back(annotation);
            } else if (!isSubtype(annotation, "/Popup")) {
                kept.annotations.push_back(annotation);
            }
        }
        pageObject.replaceKey("/Annots", QPDFObjectHandle::newArray(remaining));
        if (!kept.annotations.empty()) setAside.push_back(std::move(kept));
    }
    return setAside;
}

void putBack(const std::vector<SetAsideAnnotations>& setAside) {
    for (auto [page, annotations] : setAside) {
        auto onPage = page.getKey("/Annots");
        if (!onPage.isArray()) onPage = page.replaceKeyAndGetNew("/Annots", QPDFObjectHandle::newArray());
        for (const auto& annotation : annotations) onPage.appendItem(annotation);
    }
}

void removeAnnotationTexts(QPDF& pdf, const PdfWorkBudget& budget) {
    for (auto annotation : allAnnotations(pdf, budget)) {
        for (const char* key : annotationTextKeys) annotation.removeKey(key);
    }
}

// An older trailer's dictionary goes with the newest one's, even where some other object still
// refers to it.
void removeOlderInformation(QpdfDocument& document) {
    for (const auto& information : document.olderInformation) {
        if (information.isIndirect()) document.pdf->replaceObject(information.getObjGen(), QPDFObjectHandle::newNull());
    }
}

// Removed information reads as null from then on.
bool keepsOlderInformation(const QpdfDocument& document) {
    const auto& older = document.olderInformation;
    return std::any_of(older.begin(), older.end(),
                       [](QPDFObjectHandle information) { return information.isDictionary(); });
}

bool holdsAnyKey(QPDFObjectHandle dictionary, std::span<const char* const> keys) {
    return std::any_of(keys.begin(), keys.end(), [&](const char* key) { return dictionary.hasKey(key); });
}

// qpdf's output, gathered into large writes to the descriptor; the writer stops here once the
// budget's time is spent.
class DescriptorPipeline final : public Pipeline {
public:
    DescriptorPipeline(int fd, const PdfWorkBudget& budget)
        : Pipeline("privacy copy", nullptr), fd_(fd), budget_(budget) {}

    void write(unsigned char const* data, size_t length) override {
        if (buffer_.size() + length > capacity) {
            budget_.checkTimeAndMemory();
            flush();
        }
        if (length >= capacity) {
            posix::writeAll(fd_, {data, length});
        } else {
            buffer_.insert(buffer_.end(), data, data + length);
        }
    }

    void finish() override { flush(); }

private:
    static constexpr std::size_t capacity = 1 << 16;

    void flush() {
        posix::writeAll(fd_, buffer_);
        buffer_.clear();
    }

    int fd_;
    const PdfWorkBudget& budget_;
    std::vector<std::uint8_t> buffer_;
};

}  // namespace

void removePrivateData(QpdfDocument& document) {
    auto& pdf = *document.pdf;
    const auto& budget = *document.budget;
    auto trailer = pdf.getTrailer();
    trailer.removeKey("/Info");
    removeOlderInformation(document);
    // A fresh identifier keeps the copy from being linked to the original; an encrypted file
    // needs its own to stay readable.
    if (!pdf.isEncrypted()) trailer.removeKey("/ID");
    removeMetadataEverywhere(pdf, budget);

    // Flattening skips form fields while the form asks viewers to draw them.
    QPDFAcroFormDocumentHelper(pdf).generateAppearancesIfNeeded();
    const auto setAside = setAsideAnnotationsWithoutAppearance(pdf, budget);
    QPDFPageDocumentHelper(pdf).flattenAnnotations();
    budget.checkTimeAndMemory();
    putBack(setAside);
    removeAnnotationTexts(pdf, budget);
}

bool keepsPrivateData(QpdfDocument& document) {
    auto& pdf = *document.pdf;
    const auto& budget = *document.budget;
    if (pdf.getTrailer().hasKey("/Info") || keepsOlderInformation(document)) return true;
    bool metadataLeft = false;
    forEachDictionary(pdf, budget, [&](QPDFObjectHandle dictionary) {
        metadataLeft = metadataLeft || holdsAnyKey(dictionary, metadataKeys);
    });
    if (metadataLeft) return true;
    const auto annotations = allAnnotations(pdf, budget);
    return std::any_of(annotations.begin(), annotations.end(),
                       [](QPDFObjectHandle annotation) { return holdsAnyKey(annotation, annotationTextKeys); });
}

void writePdf(QpdfDocument& document, int fd) {
    try {
        DescriptorPipeline output(fd, *document.budget);
        QPDFWriter writer(*document.pdf);
        writer.setOutputPipeline(&output);
        writer.write();
    } catch (const std::exception&) {
        throwExportFailed();
    }
}

}  // namespace velquor::files
