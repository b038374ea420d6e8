#include "core/files/pdf/PdfPrivacyCopy.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/pdf/QpdfHeaders.h"
#include "core/posix/FileDescriptor.h"

#include <array>
#include <exception>
#include <string_view>
#include <vector>

namespace velquor::files {

namespace {

// Keys that carry metadata wherever they appear: XMP streams and application private data.
constexpr std::array<const char*, 2> metadataKeys{"/Metadata", "/PieceInfo"};

// What an annotation says about its author and its history, beyond its appearance.
constexpr std::array<const char*, 6> annotationTextKeys{"/Contents", "/RC", "/Subj", "/T", "/M", "/CreationDate"};

// Every dictionary inside the object itself, the object included; indirect references are left
// to their own objects. Iterative, so that deep nesting cannot exhaust the stack.
void removeMetadataKeys(QPDFObjectHandle object) {
    std::vector<QPDFObjectHandle> pending{object.isStream() ? object.getDict() : object};
    while (!pending.empty()) {
        auto current = pending.back();
        pending.pop_back();
        if (current.isArray()) {
            for (auto& item : current.getArrayAsVector()) {
                if (!item.isIndirect() && (item.isArray() || item.isDictionary())) pending.push_back(item);
            }
        } else if (current.isDictionary()) {
            for (const char* key : metadataKeys) current.removeKey(key);
            for (auto& [key, value] : current.getDictAsMap()) {
                if (!value.isIndirect() && (value.isArray() || value.isDictionary())) pending.push_back(value);
            }
        }
    }
}

void removeMetadataEverywhere(QPDF& pdf) {
    removeMetadataKeys(pdf.getTrailer());
    for (auto& object : pdf.getAllObjects()) removeMetadataKeys(object);
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
std::vector<SetAsideAnnotations> setAsideAnnotationsWithoutAppearance(QPDF& pdf) {
    std::vector<SetAsideAnnotations> setAside;
    for (auto& page : QPDFPageDocumentHelper(pdf).getAllPages()) {
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

void removeAnnotationTexts(QPDF& pdf) {
    for (auto& page : QPDFPageDocumentHelper(pdf).getAllPages()) {
        for (auto& annotation : page.getAnnotations()) {
            auto object = annotation.getObjectHandle();
            for (const char* key : annotationTextKeys) object.removeKey(key);
        }
    }
}

// qpdf's output, gathered into large writes to the descriptor.
class DescriptorPipeline final : public Pipeline {
public:
    explicit DescriptorPipeline(int fd) : Pipeline("privacy copy", nullptr), fd_(fd) {}

    void write(unsigned char const* data, size_t length) override {
        if (buffer_.size() + length > capacity) flush();
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
    std::vector<std::uint8_t> buffer_;
};

}  // namespace

void removePrivateData(QPDF& pdf) {
    auto trailer = pdf.getTrailer();
    trailer.removeKey("/Info");
    // A fresh identifier keeps the copy from being linked to the original; an encrypted file
    // needs its own to stay readable.
    if (!pdf.isEncrypted()) trailer.removeKey("/ID");
    removeMetadataEverywhere(pdf);

    // Flattening skips form fields while the form asks viewers to draw them.
    QPDFAcroFormDocumentHelper(pdf).generateAppearancesIfNeeded();
    const auto setAside = setAsideAnnotationsWithoutAppearance(pdf);
    QPDFPageDocumentHelper(pdf).flattenAnnotations();
    putBack(setAside);
    removeAnnotationTexts(pdf);
}

void writePdf(QPDF& pdf, int fd) {
    try {
        DescriptorPipeline output(fd);
        QPDFWriter writer(pdf);
        writer.setOutputPipeline(&output);
        writer.write();
    } catch (const std::exception&) {
        throwExportFailed();
    }
}

}  // namespace velquor::files
