// Two arbitrary UTF-16 texts (split at the first NUL) through the rewrite comparison and the
// rewrite prompt: nothing may crash or run without bound; the word diff must be a valid edit
// script over whole tokens; anchors must be sorted and one-sided; and no High-severity secret
// may survive in the prompt's source text.
#include "core/text/authorship/RewriteTokenDiff.h"
#include "core/text/TextSanitizer.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

using namespace velquor::text;

void require(bool condition) {
    if (!condition) std::abort();
}

// The tokens of a text that a diff side does not mark, as strings.
std::vector<std::u16string_view> unmarked(std::u16string_view text, const std::vector<TextLocation>& marked) {
    std::vector<std::u16string_view> kept;
    std::size_t next = 0;
    for (const auto& token : rewriteTokens(text)) {
        if (next < marked.size() && marked[next] == token) {
            ++next;
            continue;
        }
        kept.push_back(
            text.substr(static_cast<std::size_t>(token.utf16Location), static_cast<std::size_t>(token.utf16Length)));
    }
    require(next == marked.size());
    return kept;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string both(size / 2, u'\0');
    std::memcpy(both.data(), data, both.size() * 2);
    const auto split = std::min(both.find(u'\0'), both.size());
    const std::u16string_view original = std::u16string_view(both).substr(0, split);
    const std::u16string_view rewritten =
        split < both.size() ? std::u16string_view(both).substr(split + 1) : std::u16string_view();

    const TextSanitizer sanitizer;
    const auto report = sanitizer.compareRewrite(original, rewritten);
    require(unmarked(original, report.textDiff.removed) == unmarked(rewritten, report.textDiff.added));
    for (const auto& change : report.anchorChanges) {
        require(!change.removed.empty() || !change.added.empty());
        require(std::is_sorted(change.removed.begin(), change.removed.end()));
        require(std::is_sorted(change.added.begin(), change.added.end()));
        for (const auto& anchor : change.removed) {
            require(!std::binary_search(change.added.begin(), change.added.end(), anchor));
        }
    }

    const auto prompt = sanitizer.authorshipRewritePrompt(original, WritingStyleBaseline{1, 10, {}});
    if (!prompt.timedOutScans.empty()) return 0;
    for (const auto& finding : sanitizer.inspect(prompt.sourceText).privacyReport.findings) {
        require(finding.severity != PrivacyFinding::Severity::high);
    }
    return 0;
}
