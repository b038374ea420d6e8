#include "cli/CommandHelp.h"

namespace velquor::cli {

namespace {

constexpr std::size_t optionColumn = 18;

// Columns a UTF-8 text takes, counted as scalars.
std::size_t columns(std::string_view text) {
    std::size_t count = 0;
    for (const char byte : text) {
        if ((static_cast<unsigned char>(byte) & 0xC0) != 0x80) ++count;
    }
    return count;
}

void appendWrappedParagraph(std::string& out, std::string_view paragraph, std::size_t indent, std::size_t width) {
    std::size_t lineColumns = 0;
    std::size_t start = 0;
    while (start < paragraph.size()) {
        const auto end = std::min(paragraph.find(' ', start), paragraph.size());
        const auto word = paragraph.substr(start, end - start);
        start = end + 1;
        if (word.empty()) continue;
        if (lineColumns > 0 && lineColumns + 1 + columns(word) > width) {
            out += '\n';
            lineColumns = 0;
        }
        if (lineColumns == 0) {
            out.append(indent, ' ');
            lineColumns = indent;
        } else {
            out += ' ';
            ++lineColumns;
        }
        out += word;
        lineColumns += columns(word);
    }
    out += '\n';
}

void printOption(std::ostream& out, const CommandOption& option) {
    const std::string name = "  " + std::string(option.name);
    auto description = wrappedText(option.description, optionColumn);
    if (columns(name) + 2 <= optionColumn) {
        description.replace(0, name.size(), name);
    } else {
        description.insert(0, name + '\n');
    }
    out << description;
}

}  // namespace

std::string wrappedText(std::string_view text, std::size_t indent, std::size_t width) {
    std::string out;
    std::size_t start = 0;
    while (start <= text.size()) {
        const auto end = std::min(text.find("\n\n", start), text.size());
        if (!out.empty()) out += '\n';
        appendWrappedParagraph(out, text.substr(start, end - start), indent, width);
        start = end + 2;
    }
    return out;
}

void printOverview(std::ostream& out) {
    out << versionLine() << ": " << toolTagline << ".\n\n"
        << "Usage: velquor-cli COMMAND [ARGUMENTS]\n"
        << "       velquor-cli COMMAND --help\n"
        << "       velquor-cli --version\n\nCommands:\n";
    for (const Command* command : commands()) {
        out << "  " << command->group << ' ' << command->name << ' ' << command->usage << '\n'
            << wrappedText(command->summary, 6);
    }
    out << '\n'
        << wrappedText("Exit status: " + std::string(exitStatusOverview), 0)
        << "\nRun 'velquor-cli COMMAND --help' for a command's options and examples.\n";
}

void printCommandHelp(std::ostream& out, const Command& command) {
    out << usageLine(command) << '\n' << wrappedText(command.description, 0);
    out << "\nOptions:\n";
    for (const auto& option : command.options) printOption(out, option);
    printOption(out, {"-h, --help", "Show this help."});
    if (!command.examples.empty()) out << "\nExamples:\n";
    for (const auto& example : command.examples) {
        out << "  " << example.commandLine << '\n' << wrappedText(example.explanation, 6);
    }
    out << '\n' << wrappedText(command.exitStatus, 0);
}

}  // namespace velquor::cli
