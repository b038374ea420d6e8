#pragma once

#include "PrivacyFinding.h"
#include "StyleReport.h"
#include "TextReport.h"

#include <string>
#include <string_view>
#include <vector>

namespace velquor::text {

struct PrivacyPattern;

// The stateless text analyser and cleaner. Every operation is a pure function of its
// arguments and safe on any thread.
class TextSanitizer {
public:
    // The read-only analysis of a text; it never changes the text.
    TextReport inspect(std::u16string_view text) const;

    // The style pass on its own, as inspect runs it: templated-writing signals, score and level.
    // Names of scans that ran out of budget are appended to `timedOutScans`.
    StyleReport styleReport(std::u16string_view text, std::vector<std::u16string>& timedOutScans) const;

    // The privacy pass on its own, as inspect runs it. Names of scans that ran out of budget
    // are appended to `timedOutScans`.
    TextPrivacyReport privacyReport(std::u16string_view text, std::vector<std::u16string>& timedOutScans) const;

private:
    static void appendPrivacyFinding(const PrivacyPattern& row, std::u16string_view text,
                                     std::vector<PrivacyFinding>& findings, std::vector<std::u16string>& timedOutScans);
};

}  // namespace velquor::text
