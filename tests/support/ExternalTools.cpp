#include "tests/support/ExternalTools.h"

#include "tests/support/ChildProcess.h"

#include <regex>
#include <sstream>
#include <stdexcept>

namespace velquor::testing {

std::string runTool(const std::string& program, const std::vector<std::string>& arguments,
                    const std::filesystem::path& workingDirectory) {
    const auto result = runChild(program, arguments, {}, workingDirectory);
    if (result.exitStatus != 0) throw std::runtime_error(program + " failed: " + result.err);
    return result.out;
}

std::vector<std::pair<std::string, std::string>> exiftoolTags(const std::filesystem::path& file) {
    // exiftool exits with 1 for a file whose type it does not know, and still lists what it read.
    const auto result = runChild("/usr/bin/exiftool", {"-a", "-G1", "-j", file.string()});
    if (result.exitStatus != 0 && (result.exitStatus != 1 || result.out.empty())) {
        throw std::runtime_error("exiftool failed: " + result.err);
    }
    const auto& json = result.out;
    std::vector<std::pair<std::string, std::string>> tags;
    static const std::regex line(R"re(^\s*"([^"]+)":\s*(.*?),?$)re");
    std::istringstream lines(json);
    for (std::string text; std::getline(lines, text);) {
        std::smatch match;
        if (std::regex_match(text, match, line)) tags.emplace_back(match[1], match[2]);
    }
    return tags;
}

}  // namespace velquor::testing
