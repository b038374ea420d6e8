#include "tests/support/PackageOracles.h"

#include "tests/support/ChildProcess.h"
#include "tests/support/ExternalTools.h"

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
