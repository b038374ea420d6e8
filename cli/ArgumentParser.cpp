#include "cli/ArgumentParser.h"

#include <algorithm>

namespace velquor::cli {

namespace {

bool contains(const std::vector<std::string_view>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

ParsedArguments parseArguments(std::span<const std::string> arguments, const ArgumentSpec& spec) {
    ParsedArguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool looksLikeOption = !optionsEnded && argument.size() > 1 && argument[0] == '-';
        if (!looksLikeOption) {
            parsed.positionals.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            parsed.helpRequested = true;
        } else if (contains(spec.flags, argument)) {
            parsed.flags.insert(argument);
        } else if (contains(spec.valueOptions, argument)) {
            if (i + 1 >= arguments.size()) {
                parsed.error = "option '" + argument + "' needs a value";
                return parsed;
            }
            parsed.values[argument] = arguments[++i];
            parsed.valueLists[argument].push_back(arguments[i]);
        } else {
            parsed.error = "unknown option '" + argument + "'";
            return parsed;
        }
    }
    if (parsed.positionals.size() > spec.maximumPositionals) {
        parsed.error = "unexpected argument '" + parsed.positionals[spec.maximumPositionals] + "'";
    }
    return parsed;
}

}  // namespace velquor::cli
