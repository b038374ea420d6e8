#include "cli/TextInput.h"

#include "core/text/input/TextInputError.h"
#include "core/text/input/TextInputSafety.h"

#include <unistd.h>

#include <ostream>
#include <system_error>

namespace velquor::cli {

std::u16string readTextInput(std::optional<std::string_view> path, CommandStreams& streams) {
    if (!path || *path == "-") {
        if (::isatty(streams.standardInput)) {
            streams.err << "Reading text from standard input; end it with Ctrl-D.\n";
        }
        return text::TextInputSafety::readText(streams.standardInput, textInputLimit);
    }
    return text::TextInputSafety::readText(std::filesystem::path(*path), textInputLimit);
}

std::optional<std::u16string> readTextInputOrExplain(std::optional<std::string_view> path, CommandStreams& streams,
                                                     InputNaming naming) {
    try {
        return readTextInput(path, streams);
    } catch (const text::TextInputError& failure) {
        if (naming == InputNaming::namedInput) {
            streams.err << "velquor-cli: " << (!path || *path == "-" ? "standard input" : *path) << ": ";
        }
        streams.err << failure.what() << '\n';
    } catch (const std::system_error& failure) {
        streams.err << "velquor-cli: " << failure.what() << '\n';
    }
    return std::nullopt;
}

std::optional<std::string_view> firstPositional(const std::vector<std::string>& positionals) {
    if (positionals.empty()) return std::nullopt;
    return positionals.front();
}

}  // namespace velquor::cli
