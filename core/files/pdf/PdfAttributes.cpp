#include "core/files/pdf/PdfAttributes.h"

#include "core/files/MetadataText.h"
#include "core/files/StableHash.h"
#include "core/files/pdf/PdfDate.h"

#include "core/text/base/TextConversions.h"
#include "core/text/base/Utf.h"

#include "core/files/pdf/QpdfHeaders.h"

#include <charconv>

namespace velquor::files {

namespace {

bool isDateKey(std::string_view key) { return key == "/CreationDate" || key == "/ModDate"; }

// Real numbers in their shortest exact decimal form ("1.5", "3"), as written when unreadable.
std::u16string renderedReal(const std::string& written) {
    double value = 0;
    const auto parsed = std::from_chars(written.data(), written.data() + written.size(), value);
    if (parsed.ec != std::errc() || parsed.ptr != written.data() + written.size()) return metadataText(written);
    char shortest[32];
    const auto printed = std::to_chars(shortest, shortest + sizeof shortest, value);
    return text::widenedAscii({shortest, static_cast<std::size_t>(printed.ptr - shortest)});
}

// Removes the word where it stands as a word of a camel-case name: "TitleKey" loses it,
// "Keywords" keeps it.
void removeWord(std::string& text, std::string_view word) {
    for (auto at = text.find(word); at != std::string::npos; at = text.find(word, at)) {
        const auto end = at + word.size();
        if (end < text.size() && text[end] >= 'a' && text[end] <= 'z') {
            at = end;
        } else {
            text.erase(at, word.size());
        }
    }
}

}  // namespace

FileMetadataEntry pdfEntry(std::u16string_view section, std::u16string_view name, std::u16string_view value) {
    const auto hash = std::to_string(stableHash(value));
    std::u16string id(section);
    id += u"-";
    id += name;
    id += u"-";
    id += text::widenedAscii(hash);
    return {std::move(id), std::u16string(section), std::u16string(name), std::u16string(value)};
}

std::u16string pdfTextString(QPDFObjectHandle string) {
    const auto raw = string.getStringValue();
    if (raw.starts_with("\xEF\xBB\xBF")) return metadataText(std::string_view(raw).substr(3));
    return metadataText(string.getUTF8Value());
}

std::u16string renderedAttribute(std::string_view key, QPDFObjectHandle value) {
    if (value.isNull()) return {};
    if (value.isString()) {
        if (isDateKey(key)) {
            if (const auto date = isoDateFromPdfDate(value.getStringValue())) return text::widenedAscii(*date);
        }
        return pdfTextString(value);
    }
    if (value.isInteger()) return text::widenedAscii(std::to_string(value.getIntValue()));
    if (value.isReal()) return renderedReal(value.getRealValue());
    return metadataText(value.unparseResolved());
}

std::u16string attributeName(std::string_view key) {
    std::string name(key.starts_with('/') ? key.substr(1) : key);
    removeWord(name, "PDFDocument");
    removeWord(name, "Attribute");
    removeWord(name, "Key");
    return metadataText(name);
}

void appendDocumentAttributes(QPDFObjectHandle information, std::vector<FileMetadataEntry>& entries) {
    if (!information.isDictionary()) return;
    for (const auto& [key, value] : information.getDictAsMap()) {
        const auto rendered = renderedAttribute(key, value);
        if (rendered.empty()) continue;
        const auto keyText = metadataText(std::string_view(key).substr(1));
        const bool personal = isPersonalEntryName(normalizedEntryName(keyText));
        entries.push_back(pdfEntry(personal ? u"Description" : u"PDF", attributeName(key), rendered));
    }
}

}  // namespace velquor::files
