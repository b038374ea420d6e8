#include "cli/BatchTable.h"

#include "cli/JsonWriter.h"
#include "cli/TerminalText.h"

#include "core/files/MetadataText.h"
#include "core/workflow/StatusTexts.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace velquor::cli {

namespace {

// A very long path gets its own width and leaves the others aligned.
constexpr std::size_t widestFileColumn = 60;
constexpr std::string_view columnGap = "  ";

std::size_t columns(std::string_view text) {
    const auto startsScalar = [](char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; };
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), startsScalar));
}

std::string padded(std::string text, std::size_t width) {
    const auto used = columns(text);
    if (used < width) text.append(width - used, ' ');
    return text;
}

std::u16string pathText(const std::filesystem::path& path) { return files::metadataText(path.string()); }

using Cells = std::array<std::string, 4>;

Cells cellsOf(const workflow::BatchFileReport& report) {
    return {terminalSafe(pathText(report.url)), terminalSafe(report.type), std::to_string(report.findings),
            terminalSafe(report.status)};
}

void printRow(std::ostream& out, const Cells& cells, const std::array<std::size_t, 3>& widths) {
    const std::string findings = std::string(widths[2] - std::min(widths[2], columns(cells[2])), ' ') + cells[2];
    out << padded(cells[0], widths[0]) << columnGap << padded(cells[1], widths[1]) << columnGap << findings << columnGap
        << cells[3] << '\n';
}

}  // namespace

void printBatchTable(std::ostream& out, std::span<const workflow::BatchFileResult> rows) {
    if (!rows.empty()) {
        const Cells heading{"FILE", "TYPE", "FINDINGS", "STATUS"};
        std::vector<Cells> cells;
        std::array<std::size_t, 3> widths{columns(heading[0]), columns(heading[1]), columns(heading[2])};
        for (const auto& row : rows) {
            cells.push_back(cellsOf(row.report));
            for (std::size_t i = 0; i < widths.size(); ++i) widths[i] = std::max(widths[i], columns(cells.back()[i]));
        }
        widths[0] = std::min(widths[0], widestFileColumn);
        printRow(out, heading, widths);
        for (const auto& row : cells) printRow(out, row, widths);
        out << '\n';
    }
    out << terminalSafe(workflow::batchStatus(rows.size())) << '\n';
    const auto attention = std::count_if(rows.begin(), rows.end(), [](const auto& row) { return row.needsAttention; });
    if (attention > 0) {
        out << terminalSafe(workflow::filesNeedAttentionStatus(static_cast<std::size_t>(attention))) << '\n';
    }
}

void writeBatchTableJson(std::ostream& out, std::span<const workflow::BatchFileResult> rows) {
    JsonWriter json(out);
    json.beginObject().key("batchReports").beginArray();
    for (const auto& row : rows) {
        json.beginObject()
            .field("id", files::metadataText(row.report.id))
            .field("url", pathText(row.report.url))
            .field("type", row.report.type)
            .field("findings", row.report.findings)
            .field("status", row.report.status)
            .field("needsAttention", row.needsAttention)
            .endObject();
    }
    json.endArray().field("fileStatus", workflow::batchStatus(rows.size())).endObject();
    out << '\n';
}

}  // namespace velquor::cli
