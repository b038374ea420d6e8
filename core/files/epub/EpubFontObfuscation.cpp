#include "core/files/epub/EpubFontObfuscation.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/epub/EpubPackage.h"
#include "core/files/epub/Sha1.h"

#include <algorithm>
#include <vector>

namespace velquor::files {

namespace {

struct Algorithm {
    std::string_view identifier;
    FontObfuscation method;
};

constexpr Algorithm algorithms[] = {
    {"http://www.idpf.org/2008/embedding", FontObfuscation::idpf},
    {"http://ns.adobe.com/pdf/enc#RC", FontObfuscation::adobe},
};

std::optional<FontObfuscation> obfuscationOf(XmlDocument::Node encryptedData) {
    for (auto* child : XmlDocument::childElements(encryptedData)) {
        if (XmlDocument::localName(child) != "EncryptionMethod") continue;
        const auto algorithm = XmlDocument::attribute(child, "Algorithm").value_or("");
        for (const auto& row : algorithms) {
            if (row.identifier == algorithm) return row.method;
        }
    }
    return std::nullopt;
}

std::optional<std::string> cipherReference(XmlDocument::Node encryptedData) {
    std::vector<XmlDocument::Node> pending = XmlDocument::childElements(encryptedData);
    while (!pending.empty()) {
        auto* node = pending.back();
        pending.pop_back();
        if (XmlDocument::localName(node) == "CipherReference") {
            const auto uri = XmlDocument::attribute(node, "URI");
            return uri ? resolvedReference("", *uri) : std::nullopt;
        }
        // CipherData holds the reference one level down.
        if (XmlDocument::localName(node) == "CipherData") {
            const auto children = XmlDocument::childElements(node);
            pending.insert(pending.end(), children.begin(), children.end());
        }
    }
    return std::nullopt;
}

std::vector<XmlDocument::Node> encryptedData(const XmlDocument& encryption) {
    const std::string_view names[] = {"EncryptedData"};
    return encryption.elementsNamed(names);
}

std::vector<std::uint8_t> idpfKey(std::string_view identifier) {
    std::string compact(identifier);
    std::erase_if(compact, [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
    const auto digest = sha1(compact);
    return {digest.begin(), digest.end()};
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::vector<std::uint8_t> adobeKey(std::string_view identifier) {
    std::vector<int> digits;
    for (const char c : trimmedText(identifier)) {
        if (const int digit = hexDigit(c); digit >= 0) digits.push_back(digit);
    }
    // "urn:uuid:" contributes no hex digit but "d"; the UUID is the last 32 digits.
    if (digits.size() < 32) throwUnreadableFile();
    std::vector<std::uint8_t> key;
    for (std::size_t i = digits.size() - 32; i < digits.size(); i += 2) {
        key.push_back(static_cast<std::uint8_t>(digits[i] * 16 + digits[i + 1]));
    }
    return key;
}

std::vector<std::uint8_t> keyFor(FontObfuscation method, std::string_view identifier) {
    return method == FontObfuscation::idpf ? idpfKey(identifier) : adobeKey(identifier);
}

std::size_t obfuscatedLength(FontObfuscation method) { return method == FontObfuscation::idpf ? 1040 : 1024; }

}  // namespace

std::map<std::string, FontObfuscation> obfuscatedFonts(const XmlDocument& encryption) {
    std::map<std::string, FontObfuscation> fonts;
    for (auto* data : encryptedData(encryption)) {
        const auto method = obfuscationOf(data);
        const auto path = cipherReference(data);
        if (method && path) fonts.emplace(*path, *method);
    }
    return fonts;
}

std::size_t protectedContentCount(const XmlDocument& encryption) {
    const auto data = encryptedData(encryption);
    return static_cast<std::size_t>(
        std::count_if(data.begin(), data.end(), [](XmlDocument::Node item) { return !obfuscationOf(item); }));
}

std::string reobfuscatedFont(std::string font, FontObfuscation method, std::string_view oldIdentifier,
                             std::string_view newIdentifier) {
    const auto oldKey = keyFor(method, oldIdentifier);
    const auto newKey = keyFor(method, newIdentifier);
    const auto length = std::min(font.size(), obfuscatedLength(method));
    for (std::size_t i = 0; i < length; ++i) {
        font[i] = static_cast<char>(static_cast<std::uint8_t>(font[i]) ^ oldKey[i % oldKey.size()] ^
                                    newKey[i % newKey.size()]);
    }
    return font;
}

}  // namespace velquor::files
