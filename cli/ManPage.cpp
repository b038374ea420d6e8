#include "cli/ManPage.h"

#include "cli/Command.h"
#include "cli/CommandHelp.h"

#include "core/text/base/Ascii.h"
#include "core/text/base/Utf.h"

#include <algorithm>
#include <cstdio>

namespace velquor::cli {

namespace {

std::string unicodeEscape(char32_t scalar) {
    char escape[16];
    std::snprintf(escape, sizeof escape, "\\[u%04X]", static_cast<unsigned>(scalar));
    return escape;
}

// A macro argument in double quotes: a quote inside it is the \(dq glyph.
std::string quotedArgument(std::string_view utf8) {
    std::string quoted = "\"";
    for (const char c : troffText(utf8)) {
        if (c == '"') {
            quoted += "\\(dq";
        } else {
            quoted += c;
        }
    }
    return quoted + '"';
}

void writeParagraphs(std::ostream& out, std::string_view text) {
    std::size_t start = 0;
    while (start <= text.size()) {
        const auto end = std::min(text.find("\n\n", start), text.size());
        out << ".PP\n" << troffText(text.substr(start, end - start)) << '\n';
        start = end + 2;
    }
}

void writeOption(std::ostream& out, std::string_view name, std::string_view description) {
    out << ".TP\n.B " << quotedArgument(name) << '\n' << troffText(description) << '\n';
}

void writeCommand(std::ostream& out, const Command& command) {
    out << ".SS " << quotedArgument(std::string(command.group) + ' ' + std::string(command.name)) << '\n'
        << ".B velquor\\-cli " << troffText(command.group) << ' ' << troffText(command.name) << '\n'
        << troffText(command.usage) << '\n';
    writeParagraphs(out, command.description);
    for (const auto& option : command.options) writeOption(out, option.name, option.description);
    writeOption(out, "-h, --help", "Show the command's help.");
    if (!command.examples.empty()) out << ".PP\nExamples:\n";
    for (const auto& example : command.examples) {
        out << ".PP\n.EX\n"
            << troffText(example.commandLine) << "\n.EE\n.RS\n"
            << troffText(example.explanation) << "\n.RE\n";
    }
    writeParagraphs(out, command.exitStatus);
}

}  // namespace

std::string troffText(std::string_view utf8) {
    std::string out;
    const auto decoded = text::decodeUtf8(utf8).value_or(std::u16string());
    for (const auto& [scalar, offset, length] : text::scalarsOf(decoded)) {
        if (scalar == U'\\') {
            out += "\\e";
        } else if (scalar == U'-') {
            out += "\\-";
        } else if (text::isAscii(scalar)) {
            if ((scalar == U'.' || scalar == U'\'') && (out.empty() || out.back() == '\n')) out += "\\&";
            out += static_cast<char>(scalar);
        } else {
            out += unicodeEscape(scalar);
        }
    }
    return out;
}

void writeManPage(std::ostream& out) {
    out << ".\\\" Generated from velquor-cli's command table; regenerate, do not edit.\n"
        << ".nr HY 0\n"
        << ".TH VELQUOR\\-CLI 1 \"\" " << quotedArgument(versionLine()) << " \"User Commands\"\n"
        << ".SH NAME\nvelquor\\-cli \\- " << troffText(toolTagline) << '\n'
        << ".SH SYNOPSIS\n.B velquor\\-cli\n.I COMMAND\n.RI [ ARGUMENTS ]\n.br\n"
        << ".B velquor\\-cli\n.I COMMAND\n.B \\-\\-help\n.br\n.B velquor\\-cli \\-\\-version\n"
        << ".SH DESCRIPTION\n"
        << troffText(toolDescription) << '\n'
        << ".SH COMMANDS\n";
    for (const Command* command : commands()) writeCommand(out, *command);
    out << ".SH \"EXIT STATUS\"\n" << troffText(exitStatusOverview) << '\n';
}

}  // namespace velquor::cli
