#include "core/text/input/TextInputError.h"

#include "core/text/base/ByteCountFormat.h"

#include <utility>

namespace velquor::text {

TextInputError::TextInputError(Case errorCase, std::int64_t byteLimit, std::string description,
                               const std::string& message)
    : std::runtime_error(message), case_(errorCase), byteLimit_(byteLimit), description_(std::move(description)) {}

TextInputError TextInputError::tooLarge(std::int64_t maxByteCount) {
    // The message names the limit, never the size of the refused input.
    return {Case::tooLarge,
            maxByteCount,
            {},
            "Text input exceeds the " + formattedByteCount(maxByteCount) + " safety limit."};
}

TextInputError TextInputError::binaryData(std::string description) {
    const std::string message = "The input appears to be " + description + ", not plain text.";
    return {Case::binaryData, 0, std::move(description), message};
}

TextInputError TextInputError::invalidUTF8() {
    return {Case::invalidUTF8, 0, {}, "The input is not valid UTF-8 text."};
}

}  // namespace velquor::text
