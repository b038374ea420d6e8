#include "app/shell/SelectionCleaning.h"

#include "app/QtText.h"

#include "core/text/TextSanitizer.h"
#include "core/text/input/TextInputSafety.h"
#include "core/workflow/TextAnalysis.h"

namespace velquor::shell {

std::optional<QString> cleanSelectedText(const QString& selection) {
    const auto text = app::engineView(selection);
    try {
        text::TextInputSafety::validateText(text, workflow::applicationTextByteLimit);
    } catch (const text::TextInputError&) {
        return std::nullopt;
    }
    return app::qtString(text::TextSanitizer().cleanSelectedTextHygiene(text).text);
}

}  // namespace velquor::shell
