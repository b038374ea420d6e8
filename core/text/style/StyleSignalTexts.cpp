#include "core/text/style/StyleSignalTexts.h"

#include <algorithm>

namespace velquor::text {

namespace {

constexpr std::array<StyleSignalTexts, 26> catalogue{{
    {u"Cliche openers", u"Open with the concrete claim, event, or problem instead of a broad scene-setting phrase.",
     u"", u""},
    {u"Hedging and disclaimers",
     u"Keep only the qualifier the evidence requires, and attach it to a named source when possible.", u"", u""},
    {u"Generic LLM vocabulary",
     u"Replace generic promotional language with the exact action, object, or consequence you mean.", u"", u""},
    {u"Formula transitions",
     u"Remove the stock transition and let the paragraph's first sentence carry the connection.", u"", u""},
    {u"Generic assistant outro", u"Delete the assistant sign-off and end on the document's actual final point.",
     u"Assistant sign-offs are workflow residue, not normal final prose.",
     u"Email templates and support macros can use similar closing language."},
    {u"Both-sides disclaimer", u"Name the real disagreement and state the conclusion this document supports.", u"",
     u""},
    {u"Markdown artifact residue",
     u"Remove copied Markdown syntax or format the passage intentionally in its destination.",
     u"Plain text that still contains Markdown scaffolding often came from a generated or copied rich-text draft.",
     u"Developers, note-takers, and Markdown-native writers may intentionally write this way."},
    {u"Vague authority claims",
     u"Add the source, author, year, or link; otherwise recast the claim as your own observation.",
     u"Authority phrases without URLs, DOIs, named authors, or years are common in generic generated prose.",
     u"A quick informal draft may defer citations until later."},
    {u"Low sentence-opener variety", u"Vary the subject or sentence structure where repetition is not serving clarity.",
     u"Repeated sentence openers make prose feel templated even when the wording changes.",
     u"Instructional writing can intentionally repeat sentence forms for clarity."},
    {u"Intro/conclusion sandwich",
     u"Cut the repeated recap or make the conclusion add a decision, consequence, or next step.",
     u"Generated drafts often restate the prompt, fill the middle, then recap the same idea under a conclusion.",
     u"School essays and executive summaries sometimes require this structure."},
    {u"Mixed-script words", u"Replace lookalike characters with letters from the word's intended writing system.",
     u"A Latin word containing Cyrillic or Greek lookalikes is a strong hidden-text or spoofing signal.",
     u"Multilingual text and keyboard layout mistakes can create legitimate mixed-script words."},
    {u"Uniform punctuation spacing",
     u"Check whether each parenthetical interruption needs an em dash, comma, colon, or full stop.",
     u"Generated text tends to apply punctuation spacing consistently in a way hand-typed drafts often do not.",
     u"Professionally edited copy may intentionally follow a strict house style."},
    {u"High structure-to-body ratio",
     u"Merge headings or bold lead-ins that do not help the reader scan distinct sections.",
     u"Over-frequent headings and bold leads are a language-independent sign of scaffolding-heavy generated drafts.",
     u"Technical docs, slide outlines, and checklists can be intentionally structure-heavy."},
    {u"Emoji as punctuation", u"Remove decorative emoji unless each one carries meaning appropriate to the audience.",
     u"Decorative emoji parked at section ends is more diagnostic than emoji used inside a sentence.",
     u"Marketing copy and social posts often use decorative emoji intentionally."},
    {u"Balanced conclusion without stance",
     u"State the decision or argument directly instead of ending in abstract balance.",
     u"Forced symmetry without a clear assertion is a common default-assistant conclusion pattern.",
     u"Legal, diplomatic, or academic writing may deliberately avoid a strong stance."},
    {u"Em dash as parenthetical", u"Replace some em dashes with the punctuation that best expresses the relationship.",
     u"A high em-dash ratio is a useful style smell when alternatives like parentheses and semicolons never appear.",
     u"Some human writers genuinely prefer em dashes."},
    {u"Negation reversal", u"State the positive claim directly and remove the repeated 'not just X, but Y' setup.", u"",
     u""},
    {u"Synonym triples", u"Keep the strongest precise term, or explain how the three terms differ.", u"", u""},
    {u"Bold-lead bullet pattern",
     u"Use bold lead-ins only when they add scan value; otherwise write direct, varied bullets.", u"", u""},
    {u"Discourse-marker paragraphs", u"Delete the formula opener and begin with the paragraph's substantive claim.",
     u"", u""},
    {u"Hedge stacking",
     u"Keep one calibrated qualifier and remove the overlapping may, might, can, or potentially terms.", u"", u""},
    {u"Zero specificity",
     u"Add a concrete name, number, date, example, or verifiable source where the argument depends on one.", u"", u""},
    {u"Structural boilerplate",
     u"Use a specific title and remove conclusion labels that merely repeat the introduction.", u"", u""},
    {u"Low sentence burstiness",
     u"Vary sentence length where the rhythm feels mechanical, without sacrificing readability.", u"", u""},
    {u"Chat paste encoding fingerprint",
     u"Use the hygiene controls to normalize pasted punctuation and nonbreaking spaces.", u"", u""},
    {u"Emoji seasoning", u"Remove decorative emoji or keep only those that communicate information.", u"", u""},
}};

const StyleSignalTexts* textsFor(std::u16string_view label) {
    const auto row = std::find_if(catalogue.begin(), catalogue.end(),
                                  [&](const StyleSignalTexts& texts) { return texts.label == label; });
    return row == catalogue.end() ? nullptr : &*row;
}

}  // namespace

const std::array<StyleSignalTexts, 26>& styleSignalCatalogue() { return catalogue; }

std::u16string_view signalSuggestion(std::u16string_view label) {
    const auto* texts = textsFor(label);
    return texts ? texts->suggestion : defaultStyleSuggestion;
}

std::u16string_view signalRationale(std::u16string_view label) {
    const auto* texts = textsFor(label);
    return texts ? texts->rationale : std::u16string_view{};
}

std::u16string_view signalFalsePositive(std::u16string_view label) {
    const auto* texts = textsFor(label);
    return texts ? texts->falsePositive : std::u16string_view{};
}

}  // namespace velquor::text
