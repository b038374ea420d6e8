#include "core/text/privacy/PrivacyCatalogue.h"

namespace velquor::text {

namespace {

using Severity = PrivacyFinding::Severity;

constexpr std::array<PrivacyPattern, 8> catalogue{{
    {u"AWS access key",
     Severity::high,
     {.pattern = uR"(\b(?:AKIA|ASIA)[0-9A-Z]{16}\b)", .requiredLiterals = u"akia|asia"},
     u"AWS keys can grant direct account access and should never be shared in drafts or commits.",
     {}},
    {u"OpenAI-style API key",
     Severity::high,
     {.pattern = uR"(\bsk-[A-Za-z0-9_-]{20,}\b)",
      .scanPattern = uR"(\bsk-[A-Za-z0-9_-]{20}[A-Za-z0-9_-]*\b)",
      .candidateStart = uR"(\bsk-)",
      .ruledOutSpan = uR"(sk-[A-Za-z0-9_-]*)",
      .requiredLiterals = u"sk-"},
     u"API keys are bearer secrets; anyone with the token may be able to spend quota or access services.",
     {}},
    {u"JWT token",
     Severity::high,
     {.pattern = uR"(\beyJ[A-Za-z0-9_-]{10,}\.[A-Za-z0-9_-]{10,}\.[A-Za-z0-9_-]{10,}\b)",
      .scanPattern =
          uR"(\beyJ[A-Za-z0-9_-]{10}[A-Za-z0-9_-]*\.[A-Za-z0-9_-]{10}[A-Za-z0-9_-]*\.[A-Za-z0-9_-]{10}[A-Za-z0-9_-]*\b)",
      .candidateStart = uR"(\beyJ)",
      .ruledOutSpan = uR"(eyJ[A-Za-z0-9_-]*)",
      .requiredLiterals = u"eyj"},
     u"JWTs often contain session or authorization data and can expose claims even when expired.",
     {}},
    {u"Private key block",
     Severity::high,
     {.pattern = uR"(-----BEGIN [A-Z ]*PRIVATE KEY-----)", .requiredLiterals = u"-----begin "},
     u"Private keys are signing or authentication material and should be removed immediately.",
     {}},
    {u".env assignment",
     Severity::medium,
     {.pattern = uR"((?m)^\s*[A-Z][A-Z0-9_]{2,}\s*=\s*['"]?[^'"\s#]{8,})",
      .scanPattern = uR"((?m)^\s*[A-Z][A-Z0-9_]{2}[A-Z0-9_]*\s*=\s*['"]?[^'"\s#]{8}[^'"\s#]*)",
      .candidateStart = uR"((?m)^)",
      .ruledOutSpan = uR"(\s*)",
      .requiredLiterals = u"="},
     u"Environment assignments frequently contain passwords, tokens, endpoints, or account IDs.",
     {}},
    {u"Private IP address",
     Severity::medium,
     {.pattern =
          uR"(\b(?:10\.\d{1,3}\.\d{1,3}\.\d{1,3}|172\.(?:1[6-9]|2\d|3[0-1])\.\d{1,3}\.\d{1,3}|192\.168\.\d{1,3}\.\d{1,3})\b)",
      .requiredLiterals = u"10.|172.|192.168."},
     u"Private network addresses can reveal internal infrastructure shape.",
     {}},
    {u"Internal hostname",
     Severity::medium,
     {.pattern = uR"(\b[A-Za-z0-9][A-Za-z0-9.-]{1,80}\.(?:internal|local|corp|lan|intranet)\b)",
      .requiredLiterals = u".internal|.local|.corp|.lan|.intranet"},
     u"Internal hostnames can reveal company network names and service topology.",
     // A name starts 2 to 81 units before its suffix, and the suffix is at most 9 units long.
     {uR"(\.(?:internal|local|corp|lan|intranet)\b)", 2, 81, 90}},
    {u"Tracked URL",
     Severity::info,
     {.pattern =
          uR"(https?://[^\s<>"']*(?:[?&](?:utm_[A-Za-z0-9_-]+|fbclid|gclid|dclid|msclkid|igshid|mc_cid|mc_eid|ref|ref_src|spm|yclid)=)[^\s<>"']*)",
      .candidateStart = uR"(https?://)",
      .ruledOutSpan = uR"(https?://[^\s<>"']*)",
      .requiredLiterals = u"http"},
     u"Tracking query parameters identify campaigns, referrers, or click IDs and can usually be stripped safely.",
     {}},
}};

}  // namespace

const std::array<PrivacyPattern, 8>& privacyCatalogue() { return catalogue; }

}  // namespace velquor::text
