#pragma once

#include "core/text/records/WritingStyleBaseline.h"

#include <filesystem>
#include <ostream>
#include <stdexcept>
#include <string_view>

namespace velquor::cli {

// A saved baseline is at most this many bytes; a real one is a few hundred.
inline constexpr std::int64_t baselineFileLimit = 1 << 20;

// A baseline file that is not exactly the object `text baseline --json` writes; what() says why.
class BaselineFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// {"documentCount": n, "wordCount": n, "signalRates": {label: rate}} on one line, labels in
// ascending order; rates in their shortest form that reads back as the same number.
void writeBaselineJson(std::ostream& out, const text::WritingStyleBaseline& baseline);

// The baseline in that form: exactly those three keys, at least one document, a word count no
// smaller than the document count, and finite rates of 0 or more. Throws BaselineFormatError.
text::WritingStyleBaseline baselineFromJson(std::u16string_view json);

// Reads a saved baseline through the text input checks. Throws TextInputError,
// std::system_error or BaselineFormatError.
text::WritingStyleBaseline readBaselineFile(const std::filesystem::path& path);

}  // namespace velquor::cli
