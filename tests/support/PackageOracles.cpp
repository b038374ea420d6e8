#include "tests/support/PackageOracles.h"

#include "tests/support/ChildProcess.h"
#include "tests/support/ExternalTools.h"
#include "tests/support/FileTestSupport.h"

#include <libxml/c14n.h>
#include <libxml/parser.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace velquor::testing {

std::vector<std::string> archiveEntryNames(const std::filesystem::path& archive) {
    std::istringstream listing(runTool("/usr/bin/unzip", {"-Z1", archive.string()}));
    std::vector<std::string> names;
    for (std::string name; std::getline(listing, name);) names.push_back(name);
    std::sort(names.begin(), names.end());
    return names;
}

std::string archivePart(const std::filesystem::path& archive, const std::string& name) {
    std::string pattern;  // unzip reads member names as patterns
    for (const char c : name) {
        if (c == '[' || c == ']') pattern.push_back('\\');
        pattern.push_back(c);
    }
    return runTool("/usr/bin/unzip", {"-p", archive.string(), pattern});
}

bool archiveTestPasses(const std::filesystem::path& archive) {
    return runChild("/usr/bin/unzip", {"-tqq", archive.string()}).exitStatus == 0;
}

namespace {

std::uint32_t littleEndianAt(const std::string& bytes, std::size_t offset, std::size_t width) {
    if (offset > bytes.size() || width > bytes.size() - offset) throw std::runtime_error("zip header cut short");
    std::uint32_t value = 0;
    for (std::size_t i = width; i-- > 0;) value = (value << 8) | static_cast<std::uint8_t>(bytes[offset + i]);
    return value;
}

}  // namespace

std::vector<ZipEntryHeaders> zipEntryHeaders(const std::filesystem::path& archive) {
    const auto bytes = readFile(archive);
    const auto end = bytes.rfind(std::string("PK\x05\x06", 4));
    if (end == std::string::npos) throw std::runtime_error("no end of central directory");
    const auto count = littleEndianAt(bytes, end + 10, 2);
    std::size_t at = littleEndianAt(bytes, end + 16, 4);
    std::vector<ZipEntryHeaders> entries;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (littleEndianAt(bytes, at, 4) != 0x02014b50) throw std::runtime_error("no central header");
        ZipEntryHeaders entry;
        entry.centralTime = static_cast<std::uint16_t>(littleEndianAt(bytes, at + 12, 2));
        entry.centralDate = static_cast<std::uint16_t>(littleEndianAt(bytes, at + 14, 2));
        const auto nameLength = littleEndianAt(bytes, at + 28, 2);
        entry.centralExtraBytes = littleEndianAt(bytes, at + 30, 2);
        const auto commentLength = littleEndianAt(bytes, at + 32, 2);
        const auto local = littleEndianAt(bytes, at + 42, 4);
        entry.name = bytes.substr(at + 46, nameLength);
        if (littleEndianAt(bytes, local, 4) != 0x04034b50) throw std::runtime_error("no local header");
        entry.localTime = static_cast<std::uint16_t>(littleEndianAt(bytes, local + 10, 2));
        entry.localDate = static_cast<std::uint16_t>(littleEndianAt(bytes, local + 12, 2));
        entry.localExtraBytes = littleEndianAt(bytes, local + 28, 2);
        entries.push_back(entry);
        at += 46 + nameLength + entry.centralExtraBytes + commentLength;
    }
    return entries;
}

std::string canonicalXml(const std::string& xml) {
    std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> document(
        xmlReadMemory(xml.data(), static_cast<int>(xml.size()), "x.xml", nullptr, XML_PARSE_NONET), xmlFreeDoc);
    if (!document) throw std::runtime_error("not well-formed: " + xml);
    xmlChar* canonical = nullptr;
    const int size = xmlC14NDocDumpMemory(document.get(), nullptr, XML_C14N_1_0, nullptr, 1, &canonical);
    if (size < 0) throw std::runtime_error("no canonical form");
    std::string text(reinterpret_cast<const char*>(canonical), static_cast<std::size_t>(size));
    xmlFree(canonical);
    return text;
}

}  // namespace velquor::testing
