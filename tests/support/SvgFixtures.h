#pragma once

#include <cstddef>
#include <string>

namespace velquor::testing {

// A drawing as an editor saves it, of at least `minimumBytes`: metadata naming its author, then
// layers of paths with editor attributes, styles with resource references, event handlers,
// links and comments, which inspection reports and cleaning removes.
std::string editorDrawingSvg(std::size_t minimumBytes);

}  // namespace velquor::testing
