#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velquor::cli {

struct ArgumentSpec {
    std::vector<std::string_view> flags;         // "--json"
    std::vector<std::string_view> valueOptions;  // "--output", which take the next argument
    std::size_t maximumPositionals = 0;
};

struct ParsedArguments {
    std::vector<std::string> positionals;  // "-" stands for standard input
    std::set<std::string, std::less<>> flags;
    std::map<std::string, std::string, std::less<>> values;                   // the last value of each option
    std::map<std::string, std::vector<std::string>, std::less<>> valueLists;  // every value, in order
    bool helpRequested = false;
    std::optional<std::string> error;  // a usage mistake, worded for the user

    bool has(std::string_view flag) const { return flags.contains(flag); }
};

// "--" ends the options; "-h" and "--help" ask for help wherever they stand.
ParsedArguments parseArguments(std::span<const std::string> arguments, const ArgumentSpec& spec);

}  // namespace velquor::cli
