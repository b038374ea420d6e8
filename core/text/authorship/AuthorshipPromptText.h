#pragma once

#include "core/text/records/StyleReport.h"
#include "core/text/records/WritingStyleBaseline.h"

#include <string>
#include <string_view>

namespace velquor::text {

// The fixed wording of the rewrite prompt and how its variable parts are written.

// "- label (count): suggestion", or, for a signal that deviates from the writer's baseline,
// "- label (count; current 2.7 vs personal baseline 0.9 per 100 words): suggestion".
std::u16string priorityLine(const StyleSignal& signal, const WritingStyleDeviation* deviation);

// The line that stands in for the priorities when no signal was selected.
std::u16string_view noPatternsPriority();

// Empty without a baseline; otherwise a line feed, the baseline's size and whether anything
// deviates, and a line saying that the writer's documents are not part of the prompt.
std::u16string baselineBlock(const WritingStyleBaseline* baseline, bool hasDeviations);

// The whole prompt: instruction, baseline block, priorities, requirements and the source text
// between its two marker lines.
std::u16string assembledPrompt(std::u16string_view baselineBlock, std::u16string_view priorities,
                               std::u16string_view sourceText);

}  // namespace velquor::text
