#include "cli/ChangeReviewPrinter.h"

#include "cli/TerminalText.h"

#include "core/text/base/Utf.h"

namespace velquor::cli {

namespace {

constexpr std::size_t shownLocations = 5;

std::string locationsOf(const std::vector<text::TextLocation>& locations) {
    if (locations.empty()) return "no location to show";
    std::string shown = "at ";
    for (std::size_t i = 0; i < locations.size() && i < shownLocations; ++i) {
        if (i > 0) shown += ", ";
        shown += std::to_string(locations[i].utf16Location);
    }
    if (locations.size() > shownLocations)
        shown += " and " + std::to_string(locations.size() - shownLocations) + " more";
    return shown;
}

}  // namespace

void printChangeReview(std::ostream& out, const std::vector<text::TextChangeReviewItem>& items) {
    if (items.empty()) {
        out << "Nothing to change.\n";
        return;
    }
    out << "A full cleaning pass would change:\n";
    for (const auto& item : items) {
        const auto& category = text::info(item.category);
        out << '\n' << text::encodeUtf8(category.title) << ": " << counted(item.count, "change", "changes") << '\n';
        out << "    " << locationsOf(item.locations) << '\n';
        if (item.preview) {
            out << "    \"" << terminalSafe(item.preview->before) << "\" -> \"" << terminalSafe(item.preview->after)
                << "\"\n";
        }
    }
}

}  // namespace velquor::cli
