#include "app/shell/UpdateSection.h"

#include <variant>

namespace velquor::shell {

namespace {

using Action = UpdateSectionContent::Action;

struct ContentOf {
    UpdateSectionContent operator()(const app::AppUpdateState::Idle&) const {
        return {.busy = false,
                .text = {},
                .symbol = {},
                .button = QStringLiteral("Check for Updates"),
                .action = Action::check};
    }
    UpdateSectionContent operator()(const app::AppUpdateState::Checking&) const {
        return {.busy = true,
                .text = QStringLiteral("Checking for updates..."),
                .symbol = {},
                .button = {},
                .action = Action::none};
    }
    UpdateSectionContent operator()(const app::AppUpdateState::Current& current) const {
        return {.busy = false,
                .text = QStringLiteral("Version %1 is current").arg(current.version),
                .symbol = "checkmark.circle",
                .button = QStringLiteral("Check Again"),
                .action = Action::check};
    }
    UpdateSectionContent operator()(const app::AppUpdateState::Available& available) const {
        return {.busy = false,
                .text = QStringLiteral("Version %1 is available").arg(available.manifest.version),
                .symbol = "arrow.down.circle",
                .button = QStringLiteral("Download"),
                .action = Action::download};
    }
    UpdateSectionContent operator()(const app::AppUpdateState::Failed& failed) const {
        return {.busy = false,
                .text = failed.message,
                .symbol = {},
                .button = QStringLiteral("Try Again"),
                .action = Action::check};
    }
};

}  // namespace

UpdateSectionContent updateSectionContent(const app::AppUpdateState& state) {
    return std::visit(ContentOf{}, state.value);
}

}  // namespace velquor::shell
