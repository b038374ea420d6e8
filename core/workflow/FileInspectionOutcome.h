#pragma once

#include "core/files/FileMetadataReport.h"

#include <filesystem>
#include <string>
#include <variant>

namespace velquor::workflow {

// What inspecting one file gave: its report, or the message of whatever stopped it.
using FileInspectionOutcome = std::variant<files::FileMetadataReport, std::u16string>;

// Runs the inspection dispatch and never throws for the file's sake: every failure, a system
// error included, becomes its message.
FileInspectionOutcome inspectionOutcome(const std::filesystem::path& file);

}  // namespace velquor::workflow
