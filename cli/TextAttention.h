#pragma once

#include "core/text/records/TextReport.h"

#include <string>
#include <variant>
#include <vector>

namespace velquor::cli {

// Whether a text report should fail a check such as a pre-commit hook: a Unicode issue other
// than a non-ASCII letter, a hidden payload, a High or Medium privacy finding, or a scan that
// could not finish (an unfinished scan is no proof that the text is clean). Style signals,
// non-ASCII letters and Info findings never do, so an emoji or an accented name always passes.
bool reportNeedsAttention(const text::TextReport& report);

// Which findings a check looks at: `--only unicode` (hidden and control Unicode, hidden
// payloads) and `--only privacy` (secrets and addresses), repeatable; without it, both.
struct AttentionScope {
    bool unicode = true;
    bool privacy = true;
};

// The scope the values of --only name, or the value that names none.
std::variant<AttentionScope, std::string> attentionScopeFrom(const std::vector<std::string>& onlyValues);

// The report with what lies outside the scope taken out, so that it neither counts nor shows.
// Unfinished scans stay: an unfinished scan is no proof that the text is clean.
text::TextReport restrictedReport(text::TextReport report, AttentionScope scope);

}  // namespace velquor::cli
