#include "core/files/office/StartTagScan.h"

#include "core/text/base/TextConversions.h"

#include <algorithm>

namespace velquor::files {

namespace {

bool endsName(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v' || c == '>' || c == '/' ||
           c == '<';
}

// Of the characters that end a name: white space or ">".
bool isSpaceOrClose(char following) { return following != '/' && following != '<'; }

bool isPrefixCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '.' ||
           c == '-';
}

bool equalsIgnoringAsciiCase(std::string_view name, std::string_view expected) {
    return name.size() == expected.size() && text::asciiLowercased(name) == expected;
}

// "comment" or "cm", bare or after one prefix of letters, digits, "_", "." and "-".
bool isCommentName(std::string_view name) {
    const auto colon = name.find(':');
    if (colon != std::string_view::npos) {
        const auto prefix = name.substr(0, colon);
        if (prefix.empty() || !std::all_of(prefix.begin(), prefix.end(), isPrefixCharacter)) return false;
        name.remove_prefix(colon + 1);
    }
    return name == "comment" || name == "cm";
}

}  // namespace

void StartTagScan::feed(std::string_view chunk) {
    for (const char c : chunk) {
        if (inName_ && endsName(c)) {
            if (name_.size() <= longestName) visit_(name_, c);
            inName_ = false;
        } else if (inName_) {
            if (name_.size() <= longestName) name_.push_back(c);
        }
        if (c == '<') {
            inName_ = true;
            name_.clear();
        }
    }
}

StartTagScan countingScan(StartTagCounts& counts) {
    return StartTagScan([&counts](std::string_view name, char following) {
        if (following != '<' && isCommentName(name)) ++counts.comments;
        if (!isSpaceOrClose(following)) return;
        if (equalsIgnoringAsciiCase(name, "w:ins")) ++counts.insertions;
        if (equalsIgnoringAsciiCase(name, "w:del")) ++counts.deletions;
        if (equalsIgnoringAsciiCase(name, "w:movefrom") || equalsIgnoringAsciiCase(name, "w:moveto")) ++counts.moves;
    });
}

}  // namespace velquor::files
