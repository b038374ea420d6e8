#pragma once

#include <cstddef>
#include <filesystem>
#include <span>
#include <stop_token>
#include <vector>

namespace velquor::workflow {

// The files a batch inspects, in the selection's order, at most `limit` of them. A selected
// folder is walked recursively; at each level its entries are taken in the order a file browser
// shows names (then byte order for names that compare equal), so the same folder gives the same
// files on every machine. The walk skips hidden entries (names starting with "."), anything
// that is not a regular file or a folder (symbolic links included, so it never leaves the
// folder), folders it cannot read, folders already being walked (a bind mount of a parent), and
// the contents of document packages ("x.pages", "y.app"). A selected path that is not a folder is
// taken as it is, existing or not. Only files some inspector supports (by name) are kept. The
// walk stops as soon as the list is full or `stop` is requested, and returns what it has.
std::vector<std::filesystem::path> inspectableBatchFiles(std::span<const std::filesystem::path> selection,
                                                         std::size_t limit, std::stop_token stop = {});

// The same walk, keeping the files `keep` accepts by name instead (a text scan keeps every regular
// file and judges it by its bytes), with no limit but the stop request.
std::vector<std::filesystem::path> selectedFiles(std::span<const std::filesystem::path> selection,
                                                 bool (*keep)(const std::filesystem::path& file),
                                                 std::stop_token stop = {});

}  // namespace velquor::workflow
