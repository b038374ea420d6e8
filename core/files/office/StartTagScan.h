#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace velquor::files {

// Finds the start of every tag in XML bytes that arrive in chunks of any size, so that a part
// of any length is scanned in full without being held in memory. For each "<" it reports the
// name that follows, up to the first white space, ">", "/" or "<", with that character; names
// longer than any this program looks for are skipped.
class StartTagScan {
public:
    using Visit = std::function<void(std::string_view name, char following)>;

    explicit StartTagScan(Visit visit) : visit_(std::move(visit)) {}

    void feed(std::string_view chunk);

private:
    static constexpr std::size_t longestName = 64;

    Visit visit_;
    std::string name_;
    bool inName_ = false;
};

// What the inspection counts in a Word part: tracked insertions, deletions and moves (w:ins,
// w:del, w:moveFrom and w:moveTo followed by white space or ">", in any letter case), and
// comments (elements named "comment" or "cm" under any prefix).
struct StartTagCounts {
    std::size_t insertions = 0;
    std::size_t deletions = 0;
    std::size_t moves = 0;
    std::size_t comments = 0;
};

// A scan that adds what it sees to `counts`.
StartTagScan countingScan(StartTagCounts& counts);

}  // namespace velquor::files
