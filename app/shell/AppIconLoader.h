#pragma once

#include <QIcon>

#include <optional>

namespace velquor::shell {

// The application's icon: the one built into the program, else the installed theme's; nothing
// when neither loads, which leaves the desktop's default icon.
namespace AppIconLoader {
std::optional<QIcon> image();
}

}  // namespace velquor::shell
