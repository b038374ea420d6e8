#include "core/text/review/ChangeReviewPatterns.h"

namespace velquor::text {

namespace {

constexpr ChangeReviewPatterns patterns{
    {uR"((?m)(?:^[\t ]+|[\t ]+$|[\t ]{2,}))", uR"((?m)(?:^[\t ]+|[\t ]+$|[\t ]{2}[\t ]*))"},
    // After a failed attempt, every later "http" inside the same run of URL characters fails too.
    {.pattern =
         uR"(https?://[^\s<>"']*(?:[?&](?:utm_[A-Za-z0-9_-]+|fbclid|gclid|dclid|msclkid|igshid|mc_cid|mc_eid|ref|ref_src|spm|yclid)=)[^\s<>"']*)",
     .candidateStart = uR"(https?://)",
     .ruledOutSpan = uR"(https?://[^\s<>"']*)"},
    {{
        {uR"(\*\*[^*\n]{1,100}\*\*)"},
        {uR"((?m)^#{1,6}\s+\S)"},
        {uR"(`{3}[^`]*`{3})"},
        // A failed attempt decides every bracket inside its text, and, when its address never
        // closes, every bracket after it.
        {.pattern = uR"(\[[^\]\n]+\]\([^)]+\))",
         .candidateStart = uR"(\[)",
         .ruledOutSpan = uR"(\[(?:[^\]\n]+\]\([^)]*|[^\]\n]*))"},
        // A failed attempt decides every line start inside the white space it begins with.
        {.pattern = uR"((?m)^\s*\|.+\|\s*$)", .candidateStart = uR"((?m)^)", .ruledOutSpan = uR"(\s*)"},
    }},
};

}  // namespace

const ChangeReviewPatterns& changeReviewPatterns() { return patterns; }

}  // namespace velquor::text
