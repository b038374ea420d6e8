#pragma once

#include "app/AppUpdateState.h"

#include <QString>

#include <string_view>

namespace velquor::shell {

// What the settings window's update row shows for a state.
struct UpdateSectionContent {
    enum class Action { none, check, download };

    bool busy = false;        // a progress indicator
    QString text;             // beside the indicator or the symbol; may be empty
    std::string_view symbol;  // a symbol name, or empty
    QString button;           // empty when there is no button
    Action action = Action::none;

    friend bool operator==(const UpdateSectionContent&, const UpdateSectionContent&) = default;
};

UpdateSectionContent updateSectionContent(const app::AppUpdateState& state);

}  // namespace velquor::shell
