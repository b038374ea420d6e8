#include "app/clipboard/InertHtml.h"

#include "core/text/regex/Regex.h"

#include <array>
#include <vector>

namespace velquor::app {

namespace {

struct InertStep {
    std::u16string_view pattern;
    bool caseInsensitive;
    std::u16string_view replacement;
};

// In this order: the whole-element step must see script and style before the stray-tag step
// removes their tags, and attributes go last so that no earlier pattern loses what it keys on.
constexpr std::array<InertStep, 14> inertSteps{{
    {u"(?im)^(?:Version|StartHTML|EndHTML|StartFragment|EndFragment|StartSelection|EndSelection|SourceURL|Source-URL):"
     u"[^\\r\\n]*(?:\\r?\\n|$)",
     false, u""},
    {u"<!--[\\s\\S]*?-->", false, u""},
    {u"<\\s*script\\b[^>]*>[\\s\\S]*?</\\s*script\\s*>", true, u""},
    {u"<\\s*style\\b[^>]*>[\\s\\S]*?</\\s*style\\s*>", true, u""},
    {u"<\\s*head\\b[^>]*>[\\s\\S]*?</\\s*head\\s*>", true, u""},
    {u"<\\s*iframe\\b[^>]*>[\\s\\S]*?</\\s*iframe\\s*>", true, u""},
    {u"<\\s*object\\b[^>]*>[\\s\\S]*?</\\s*object\\s*>", true, u""},
    {u"<\\s*svg\\b[^>]*>[\\s\\S]*?</\\s*svg\\s*>", true, u""},
    {u"<\\s*math\\b[^>]*>[\\s\\S]*?</\\s*math\\s*>", true, u""},
    {u"<\\s*noscript\\b[^>]*>[\\s\\S]*?</\\s*noscript\\s*>", true, u""},
    {u"<\\s*(?:img|link|base|meta|embed|source|track|input)\\b[^>]*>", true, u""},
    {u"</?\\s*(?:script|style|head|iframe|object|svg|math|noscript)\\b[^>]*>", true, u""},
    {u"<\\?.*?\\?>|<!DOCTYPE[\\s\\S]*?>", true, u""},
    {u"<\\s*([A-Za-z][A-Za-z0-9:-]*)\\b[^>]*>", true, u"<$1>"},
}};

struct CompiledStep {
    text::Regex regex;
    std::u16string_view replacement;
};

// Compiled once; empty when any pattern failed to compile, which makes every call fail closed.
const std::vector<CompiledStep>& compiledSteps() {
    static const std::vector<CompiledStep> steps = [] {
        std::vector<CompiledStep> compiled;
        for (const auto& step : inertSteps) {
            auto regex = text::Regex::compile(step.pattern, {.caseInsensitive = step.caseInsensitive});
            if (!regex) return std::vector<CompiledStep>{};
            compiled.push_back({std::move(*regex), step.replacement});
        }
        return compiled;
    }();
    return steps;
}

}  // namespace

std::optional<std::u16string> inertClipboardHTML(std::u16string_view html) {
    const auto& steps = compiledSteps();
    if (steps.size() != inertSteps.size()) return std::nullopt;
    std::u16string inert(html);
    for (const auto& step : steps) {
        auto replaced = step.regex.replaceAll(inert, step.replacement);
        if (!replaced.complete) return std::nullopt;
        inert = std::move(replaced.text);
    }
    return inert;
}

}  // namespace velquor::app
