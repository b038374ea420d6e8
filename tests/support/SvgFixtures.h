#pragma once

#include <cstddef>
#include <string>

namespace velquor::testing {

// A drawing as an editor saves it, of at least `minimumBytes`: metadata naming its author, then
// layers of paths with editor attributes, styles with resource references, event handlers,
// links and comments, which inspection reports and cleaning removes.
std::string editorDrawingSvg(std::size_t minimumBytes);

// A drawing whose private parts all hide behind prefixes that the usual spellings miss: a script,
// metadata naming its creator, a foreignObject with an iframe, an Inkscape attribute holding a
// home path, an animation that sets a link to a tracker, and a link under another prefix.
std::string prefixedPrivateSvg();

}  // namespace velquor::testing
