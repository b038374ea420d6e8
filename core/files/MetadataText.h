#pragma once

#include <string>
#include <string_view>

namespace velquor::files {

// Text read from a file's metadata. Much of it claims no encoding: valid UTF-8 is read as UTF-8,
// anything else as Latin-1, so that no byte is lost or refused. Trailing NULs are dropped.
std::u16string metadataText(std::string_view bytes);

// Text that its format defines as Latin-1 (PNG tEXt and zTXt keywords and text).
std::u16string latin1Text(std::string_view bytes);

}  // namespace velquor::files
