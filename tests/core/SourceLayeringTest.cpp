// The engine's layering, read from the source tree: inside core/text every include points down the
// dependency order (base, records, regex, the passes, review and authorship, the facade), the
// passes never include one another, and nothing under core/ includes a Qt header, so the command
// line and the window can share all of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace velquor {
namespace {

namespace fs = std::filesystem;

const fs::path sourceRoot = VELQUOR_SOURCE_DIR;

constexpr int passLevel = 3;
constexpr int facadeLevel = 5;

struct Layer {
    std::string_view folder;
    int level;
};

// The folders of core/text in dependency order; the passes share one level.
constexpr Layer layers[] = {
    {"base", 0},
    {"records", 1},
    {"regex", 2},
    {"input", passLevel},
    {"inspection", passLevel},
    {"cleaning", passLevel},
    {"privacy", passLevel},
    {"style", passLevel},
    {"review", 4},
    {"authorship", 4},
};

// Where a file of core/text sits, from its path relative to core/text ("style/signals/X.h").
struct Placement {
    std::string folder;  // empty for the facade at the top
    std::optional<int> level;
};

Placement placementOf(std::string_view relativePath) {
    const auto slash = relativePath.find('/');
    if (slash == std::string_view::npos) return {"", facadeLevel};
    const std::string folder(relativePath.substr(0, slash));
    const auto* layer = std::find_if(std::begin(layers), std::end(layers),
                                     [&](const Layer& candidate) { return candidate.folder == folder; });
    if (layer == std::end(layers)) return {folder, std::nullopt};
    return {folder, layer->level};
}

bool implementsTheFacade(std::string_view relativePath) {
    const auto name = relativePath.substr(relativePath.rfind('/') + 1);
    return name.starts_with("TextSanitizer") && name.ends_with(".cpp");
}

// Why one include line of a core/text file breaks the layering; nothing when it does not.
std::optional<std::string> textIncludeProblem(std::string_view relativePath, std::string_view included) {
    const auto own = placementOf(relativePath);
    const auto target = placementOf(included);
    if (!own.level) return "core/text/" + own.folder + " has no place in the dependency order";
    if (!target.level) return "core/text/" + target.folder + " has no place in the dependency order";
    if (*target.level == facadeLevel) {
        if (implementsTheFacade(relativePath)) return std::nullopt;
        return std::string("only the TextSanitizer*.cpp files that implement the facade include it");
    }
    if (*target.level > *own.level) return "includes a folder later in the dependency order";
    if (*own.level == passLevel && *target.level == passLevel && own.folder != target.folder) {
        return std::string("one pass includes another");
    }
    return std::nullopt;
}

const std::regex textInclude(R"re(^\s*#\s*include\s*"core/text/([^"]+)")re");
const std::regex qtInclude(R"re(^\s*#\s*include\s*[<"](Qt[A-Za-z]*[/>"]|Q[A-Z][A-Za-z]*[>"]))re");

// Every offending line of one file, as "path:line: text (why)".
std::vector<std::string> violationsIn(std::string_view pathInTree, std::istream& lines) {
    std::vector<std::string> violations;
    constexpr std::string_view textPrefix = "core/text/";
    const bool inText = pathInTree.starts_with(textPrefix);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        std::smatch match;
        std::optional<std::string> problem;
        if (std::regex_search(line, qtInclude)) {
            problem = "a Qt header in core";
        } else if (inText && std::regex_search(line, match, textInclude)) {
            problem = textIncludeProblem(pathInTree.substr(textPrefix.size()), match[1].str());
        }
        if (problem) {
            violations.push_back(std::string(pathInTree) + ":" + std::to_string(number) + ": " + line + "  (" +
                                 *problem + ")");
        }
    }
    return violations;
}

std::vector<std::string> violationsIn(std::string_view pathInTree, const std::string& contents) {
    std::istringstream lines(contents);
    return violationsIn(pathInTree, lines);
}

bool isSource(const fs::path& path) { return path.extension() == ".h" || path.extension() == ".cpp"; }

TEST(SourceLayeringTest, CoreIncludesKeepTheDependencyOrderAndNoQt) {
    std::vector<std::string> violations;
    int textFiles = 0;
    for (const auto& entry : fs::recursive_directory_iterator(sourceRoot / "core")) {
        if (!entry.is_regular_file() || !isSource(entry.path())) continue;
        const auto pathInTree = entry.path().lexically_relative(sourceRoot).generic_string();
        if (pathInTree.starts_with("core/text/")) ++textFiles;
        std::ifstream file(entry.path());
        ASSERT_TRUE(file) << pathInTree;
        const auto found = violationsIn(pathInTree, file);
        violations.insert(violations.end(), found.begin(), found.end());
    }
    // A wrong source directory would find nothing to object to.
    EXPECT_GT(textFiles, 100);
    std::string report;
    for (const auto& violation : violations) report += violation + "\n";
    EXPECT_TRUE(violations.empty()) << report;
}

struct CheckCase {
    std::string_view path;
    std::string contents;
    bool breaksLayering;
};

// The checker itself, on lines it must refuse and lines it must accept.
TEST(SourceLayeringTest, CheckerNamesEachKindOfOffendingLine) {
    const CheckCase cases[] = {
        {"core/text/base/Utf.h", "#include \"core/text/records/TextLocation.h\"", true},
        {"core/text/records/TextReport.h", "#include \"core/text/base/RawValueTable.h\"", false},
        {"core/text/regex/Regex.h", "#  include \"core/text/style/StyleText.h\"", true},
        {"core/text/style/StyleText.h", "#include \"core/text/cleaning/UrlTracking.h\"", true},
        {"core/text/style/signals/StyleSignals.h", "#include \"core/text/style/StyleMatching.h\"", false},
        {"core/text/review/ChangeReviewPatterns.h", "#include \"core/text/cleaning/AsciiConversion.h\"", false},
        {"core/text/cleaning/TextSanitizerCleaning.cpp", "#include \"core/text/TextSanitizer.h\"", false},
        {"core/text/cleaning/CleaningPipeline.cpp", "#include \"core/text/TextSanitizer.h\"", true},
        {"core/text/cleaning/TextSanitizerCleaning.h", "#include \"core/text/TextSanitizer.h\"", true},
        {"core/text/TextSanitizer.h", "#include \"core/text/records/TextReport.h\"", false},
        {"core/text/spelling/Speller.h", "#include \"core/text/base/Utf.h\"", true},
        {"core/text/base/Utf.h", "#include \"core/text/spelling/Speller.h\"", true},
        {"core/files/FileTypes.cpp", "#include <QString>", true},
        {"core/files/FileTypes.cpp", "#include <QtCore/QFile>", true},
        {"core/files/FileTypes.cpp", "#include <QtCore>", true},
        {"core/workflow/Batch.cpp", "#include \"QObject\"", true},
        {"core/files/FileTypes.cpp", "#include <queue>", false},
        {"core/files/FileTypes.cpp", "#include \"core/text/TextSanitizer.h\"", false},
    };
    for (const auto& [path, contents, breaksLayering] : cases) {
        const auto violations = violationsIn(path, contents);
        EXPECT_EQ(!violations.empty(), breaksLayering) << path << ": " << contents;
        if (breaksLayering && !violations.empty()) {
            EXPECT_NE(violations.front().find(std::string(path) + ":1: " + contents), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace velquor
