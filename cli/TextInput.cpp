#include "TextInput.h"

#include <text/TextInputSafety.h>

#include <unistd.h>

#include <ostream>

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

}  // namespace velquor::cli
