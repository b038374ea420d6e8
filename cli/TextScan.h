#pragma once

#include "cli/TextAttention.h"

#include "core/text/records/TextReport.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace velquor::cli {

// One text of a scan: a file to read, or bytes already read (a staged blob); a text known to be
// unusable before it is read (too large, a symbolic link) has neither.
struct TextScanInput {
    std::string shownPath;
    std::optional<std::filesystem::path> file;
    std::optional<std::vector<std::uint8_t>> bytes;
};

struct TextScanResult {
    enum class Outcome { inspected, skipped, unreadable };

    std::string shownPath;
    Outcome outcome = Outcome::skipped;
    std::optional<text::TextReport> report;  // restricted to the scan's scope
    bool needsAttention = false;
    std::string problem;  // why an unreadable file could not be read
};

struct TextScanTotals {
    std::size_t inspected = 0;
    std::size_t needAttention = 0;
    std::size_t skipped = 0;
    std::size_t unreadable = 0;
};

// Reads (with the text input limit, never following a symbolic link) and inspects one text.
// Anything that is not UTF-8 text, or is over the limit, is skipped, never a finding.
TextScanResult scanText(const TextScanInput& input, AttentionScope scope);

// Scans the inputs on `workers` threads (0: one per core) and hands the results to `show` one
// at a time in the inputs' order; returns the running totals added to `totals`.
void scanTexts(std::span<const TextScanInput> inputs, AttentionScope scope, unsigned workers,
               const std::function<void(const TextScanResult&)>& show, TextScanTotals& totals);

// The files of the selection, walked like a batch (hidden entries, symbolic links and document
// packages left out) but with no limit and no filter by name.
std::vector<TextScanInput> folderScanInputs(std::span<const std::filesystem::path> selection);

}  // namespace velquor::cli
