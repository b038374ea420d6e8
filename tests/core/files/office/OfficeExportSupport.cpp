#include "tests/core/files/office/OfficeExportSupport.h"

#include "tests/support/ChildProcess.h"

#include <libxml/c14n.h>
#include <libxml/parser.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace velquor::testing {

std::filesystem::path OfficeExportTest::package(const std::string& name, const Parts& parts) {
    const auto archive = path() / name;
    zipWithSystemZip(path(), parts, archive);
    return archive;
}

std::filesystem::path OfficeExportTest::exported(const std::filesystem::path& source) {
    const auto destination = source.parent_path() / ("copy-" + source.filename().string());
    files::OfficeArchiveInspector().exportPrivacyCopy(source, destination);
    return destination;
}

files::FileSanitizerError::Case OfficeExportTest::exportFailure(const std::filesystem::path& source) {
    const auto destination = source.parent_path() / ("failed-" + source.filename().string());
    try {
        files::OfficeArchiveInspector().exportPrivacyCopy(source, destination);
    } catch (const files::FileSanitizerError& error) {
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(destination)));
        for (const auto& entry : std::filesystem::directory_iterator(destination.parent_path())) {
            EXPECT_FALSE(entry.path().filename().string().starts_with(".failed-")) << entry.path();
        }
        return error.errorCase();
    }
    throw std::runtime_error("the export did not fail");
}

std::vector<std::string> OfficeExportTest::entryNames(const std::filesystem::path& archive) {
    const auto result = runChild("/usr/bin/unzip", {"-Z1", archive.string()});
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start < result.out.size()) {
        const auto end = result.out.find('\n', start);
        names.push_back(result.out.substr(start, end - start));
        start = end + 1;
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string OfficeExportTest::part(const std::filesystem::path& archive, const std::string& name) {
    std::string pattern;  // unzip reads member names as patterns
    for (const char c : name) {
        if (c == '[' || c == ']') pattern.push_back('\\');
        pattern.push_back(c);
    }
    return runChild("/usr/bin/unzip", {"-p", archive.string(), pattern}).out;
}

bool OfficeExportTest::archiveTestPasses(const std::filesystem::path& archive) {
    return runChild("/usr/bin/unzip", {"-tqq", archive.string()}).exitStatus == 0;
}

std::string OfficeExportTest::exiftoolJson(const std::filesystem::path& file) {
    return runChild("/usr/bin/exiftool", {"-a", "-G1", "-j", file.string()}).out;
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
