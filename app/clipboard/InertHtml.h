#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velquor::app {

// The clipboard's HTML with everything removed that could load a resource or run before any
// reader sees it: clipboard header lines, comments, script, style, head, frames, objects, SVG,
// MathML and noscript with their content, void and loading elements, stray tags of those,
// processing instructions and the document type, and every attribute. Nothing when a step could
// not finish its scan (hostile input can exhaust a scan's budget): a half-cleaned document is
// never handed on.
std::optional<std::u16string> inertClipboardHTML(std::u16string_view html);

}  // namespace velquor::app
