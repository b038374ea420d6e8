#include "core/text/style/StylePhraseLists.h"

namespace velquor::text {

namespace {

constexpr std::u16string_view clicheOpeners[] = {
    u"in today's fast-paced",      u"ever-evolving digital landscape", u"whether you're",
    u"just starting your journey", u"unlocking the power of",
};

constexpr std::u16string_view hedgingAndDisclaimers[] = {
    u"it's important to note", u"it's worth noting",
    u"studies suggest",        u"may potentially",
    u"results can vary",       u"reasonable people may disagree",
    u"multiple perspectives",  u"depending on individual circumstances",
};

constexpr std::u16string_view genericVocabulary[] = {
    u"delve",
    u"tapestry",
    u"testament to",
    u"navigate the complexities",
    u"fast-paced",
    u"ever-evolving",
    u"landscape",
    u"game-changer",
    u"unlock",
    u"elevate",
    u"seamlessly",
    u"leverage",
    u"cutting-edge",
    u"robust",
    u"foster",
    u"cultivate",
    u"harness the power of",
    u"moves the needle",
    u"in the realm of",
    u"it's worth noting",
    u"it's important to note",
    u"first and foremost",
    u"that being said",
    u"key takeaways",
    u"pivotal role",
    u"cornerstone",
    u"boundless",
    u"synergize",
    u"journey",
    u"mindset",
    u"full potential",
    u"new heights",
};

constexpr std::u16string_view formulaTransitions[] = {
    u"first and foremost", u"additionally", u"furthermore", u"that being said", u"ultimately", u"in conclusion",
};

constexpr std::u16string_view assistantOutro[] = {
    u"i hope this helps", u"let me know if", u"i'd be happy to", u"feel free to", u"great question",
};

constexpr std::u16string_view bothSidesDisclaimer[] = {
    u"multiple perspectives on this topic",
    u"reasonable people may disagree",
    u"your mileage may vary",
};

constexpr std::array<StylePhraseList, 6> lists{{
    {u"Cliche openers", clicheOpeners},
    {u"Hedging and disclaimers", hedgingAndDisclaimers},
    {u"Generic LLM vocabulary", genericVocabulary},
    {u"Formula transitions", formulaTransitions},
    {u"Generic assistant outro", assistantOutro},
    {u"Both-sides disclaimer", bothSidesDisclaimer},
}};

constexpr std::u16string_view structuralBoilerplate[] = {u"comprehensive guide", u"**in conclusion**"};

constexpr std::array<std::u16string_view, 16> adjectives{
    u"crucial",   u"essential", u"vital",          u"meaningful",    u"impactful", u"sustainable",
    u"robust",    u"powerful",  u"seamless",       u"comprehensive", u"important", u"effective",
    u"efficient", u"valuable",  u"transformative", u"innovative",
};

}  // namespace

const std::array<StylePhraseList, 6>& stylePhraseLists() { return lists; }

std::span<const std::u16string_view> structuralBoilerplatePhrases() { return structuralBoilerplate; }

const std::array<std::u16string_view, 16>& lowInformationAdjectives() { return adjectives; }

}  // namespace velquor::text
