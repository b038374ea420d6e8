#include "core/text/review/ChangeReviewPatterns.h"

namespace velquor::text {

namespace {

constexpr ChangeReviewPatterns patterns{
    {uR"((?m)(?:^[\t ]+|[\t ]+$|[\t ]{2,}))", uR"((?m)(?:^[\t ]+|[\t ]+$|[\t ]{2}[\t ]*))", u"", u""},
    // After a failed attempt, every later "http" inside the same run of URL characters fails too.
    {uR"(https?://[^\s<>"']*(?:[?&](?:utm_[A-Za-z0-9_-]+|fbclid|gclid|dclid|msclkid|igshid|mc_cid|mc_eid|ref|ref_src|spm|yclid)=)[^\s<>"']*)",
     u"", uR"(https?://)", uR"(https?://[^\s<>"']*)"},
    {{
        {uR"(\*\*[^*\n]{1,100}\*\*)", u"", u"", u""},
        {uR"((?m)^#{1,6}\s+\S)", u"", u"", u""},
        {uR"(`{3}[^`]*`{3})", u"", u"", u""},
        // A failed attempt decides every bracket inside its text, and, when its address never
        // closes, every bracket after it.
        {uR"(\[[^\]\n]+\]\([^)]+\))", u"", uR"(\[)", uR"(\[(?:[^\]\n]+\]\([^)]*|[^\]\n]*))"},
        // A failed attempt decides every line start inside the white space it begins with.
        {uR"((?m)^\s*\|.+\|\s*$)", u"", uR"((?m)^)", uR"(\s*)"},
    }},
};

}  // namespace

const ChangeReviewPatterns& changeReviewPatterns() { return patterns; }

}  // namespace velquor::text
