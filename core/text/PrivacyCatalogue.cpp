#include "PrivacyCatalogue.h"

namespace velquor::text {

namespace {

using Severity = PrivacyFinding::Severity;

constexpr std::array<PrivacyPattern, 8> catalogue{{
    {u"AWS access key", Severity::high,
     uR"(\b(?:AKIA|ASIA)[0-9A-Z]{16}\b)",
     u"AWS keys can grant direct account access and should never be shared in drafts or commits.",
     u"", u"", u""},
    {u"OpenAI-style API key", Severity::high,
     uR"(\bsk-[A-Za-z0-9_-]{20,}\b)",
     u"API keys are bearer secrets; anyone with the token may be able to spend quota or access services.",
     uR"(\bsk-[A-Za-z0-9_-]{20}[A-Za-z0-9_-]*\b)",
     uR"(\bsk-)", uR"(sk-[A-Za-z0-9_-]*)"},
    {u"JWT token", Severity::high,
     uR"(\beyJ[A-Za-z0-9_-]{10,}\.[A-Za-z0-9_-]{10,}\.[A-Za-z0-9_-]{10,}\b)",
     u"JWTs often contain session or authorization data and can expose claims even when expired.",
     uR"(\beyJ[A-Za-z0-9_-]{10}[A-Za-z0-9_-]*\.[A-Za-z0-9_-]{10}[A-Za-z0-9_-]*\.[A-Za-z0-9_-]{10}[A-Za-z0-9_-]*\b)",
     uR"(\beyJ)", uR"(eyJ[A-Za-z0-9_-]*)"},
    {u"Private key block", Severity::high,
     uR"(-----BEGIN [A-Z ]*PRIVATE KEY-----)",
     u"Private keys are signing or authentication material and should be removed immediately.",
     u"", u"", u""},
    {u".env assignment", Severity::medium,
     uR"((?m)^\s*[A-Z][A-Z0-9_]{2,}\s*=\s*['"]?[^'"\s#]{8,})",
     u"Environment assignments frequently contain passwords, tokens, endpoints, or account IDs.",
     uR"((?m)^\s*[A-Z][A-Z0-9_]{2}[A-Z0-9_]*\s*=\s*['"]?[^'"\s#]{8}[^'"\s#]*)",
     uR"((?m)^)", uR"(\s*)"},
    {u"Private IP address", Severity::medium,
     uR"(\b(?:10\.\d{1,3}\.\d{1,3}\.\d{1,3}|172\.(?:1[6-9]|2\d|3[0-1])\.\d{1,3}\.\d{1,3}|192\.168\.\d{1,3}\.\d{1,3})\b)",
     u"Private network addresses can reveal internal infrastructure shape.",
     u"", u"", u""},
    {u"Internal hostname", Severity::medium,
     uR"(\b[A-Za-z0-9][A-Za-z0-9.-]{1,80}\.(?:internal|local|corp|lan|intranet)\b)",
     u"Internal hostnames can reveal company network names and service topology.",
     u"", u"", u""},
    {u"Tracked URL", Severity::info,
     uR"(https?://[^\s<>"']*(?:[?&](?:utm_[A-Za-z0-9_-]+|fbclid|gclid|dclid|msclkid|igshid|mc_cid|mc_eid|ref|ref_src|spm|yclid)=)[^\s<>"']*)",
     u"Tracking query parameters identify campaigns, referrers, or click IDs and can usually be stripped safely.",
     u"", uR"(https?://)", uR"(https?://[^\s<>"']*)"},
}};

}  // namespace

const std::array<PrivacyPattern, 8>& privacyCatalogue() { return catalogue; }

}  // namespace velquor::text
