#include "core/text/records/TextChangeCategory.h"

namespace velquor::text {

const TextChangeCategoryInfo& info(TextChangeCategory category) {
    for (const auto& row : textChangeCategoryTable) {
        if (row.category == category) return row;
    }
    return textChangeCategoryTable.front();
}

std::optional<TextChangeCategory> textChangeCategory(std::u16string_view rawValue) {
    for (const auto& row : textChangeCategoryTable) {
        if (row.rawValue == rawValue) return row.category;
    }
    return std::nullopt;
}

std::array<TextChangeCategory, 7> allTextChangeCategories() {
    std::array<TextChangeCategory, 7> cases{};
    for (std::size_t i = 0; i < cases.size(); ++i) cases[i] = textChangeCategoryTable[i].category;
    return cases;
}

}  // namespace velquor::text
