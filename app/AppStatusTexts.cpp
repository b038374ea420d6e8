#include "app/AppStatusTexts.h"

namespace velquor::app {

namespace {

std::u16string decimal(std::int64_t value) {
    const auto digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

// "1 document", "2 documents".
std::u16string counted(std::int64_t count, std::u16string_view noun) {
    return decimal(count) + u" " + std::u16string(noun) + (count == 1 ? u"" : u"s");
}

}  // namespace

std::u16string namedFlavorFinding(std::u16string_view flavorName) {
    return std::u16string(flavorName) + u" flavor present";
}

std::u16string baselineLoadedStatus(std::int64_t documentCount) {
    return u"Loaded " + counted(documentCount, u"document") + u".";
}

std::u16string promptCopiedStatus(std::int64_t redactedFindings) {
    if (redactedFindings <= 0) return u"Copied rewrite prompt.";
    return u"Copied rewrite prompt with " + counted(redactedFindings, u"sensitive finding") + u" redacted.";
}

}  // namespace velquor::app
