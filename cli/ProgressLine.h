#pragma once

#include <ostream>
#include <string_view>

namespace velquor::cli {

// One line of progress on standard error, rewritten in place, and only when standard error is
// a terminal: a pipe or a log file gets none of it. Cleared before anything else is printed.
class ProgressLine {
public:
    ProgressLine(std::ostream& err, bool isTerminal) : err_(err), shown_(isTerminal) {}
    ~ProgressLine() { clear(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void show(std::u16string_view line);
    void clear();

private:
    std::ostream& err_;
    bool shown_;
    bool onScreen_ = false;
};

}  // namespace velquor::cli
