#pragma once

namespace velquor::files {

// libavformat reports every oddity of a damaged file on standard error, which would reach the
// terminal or the desktop session's log. Our callers get errors as exceptions instead.
void silenceLibraryLogging();

}  // namespace velquor::files
