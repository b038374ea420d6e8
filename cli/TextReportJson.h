#pragma once

#include "cli/JsonWriter.h"

#include "core/text/records/TextReport.h"

#include <ostream>

namespace velquor::cli {

// The report as one JSON object on one line: the records' field names, their derived
// properties, raw values for enumerations, locations as {utf16Location, utf16Length}.
void writeTextReportJson(std::ostream& out, const text::TextReport& report);

// The same object as a value inside a larger document.
void writeTextReport(JsonWriter& json, const text::TextReport& report);

}  // namespace velquor::cli
