#pragma once

// Mixed prose for the text benchmarks: emoji, right-to-left words, Markdown, tracked URLs and
// about one hidden or changed character per 200, the same for every run.
#include <random>
#include <string>
#include <string_view>

namespace velquor::bench {

inline const std::u16string_view words[] = {
    u"the",
    u"committee",
    u"met",
    u"on",
    u"Tuesday",
    u"to",
    u"review",
    u"quarterly",
    u"figures",
    u"and",
    u"most",
    u"members",
    u"agreed",
    u"numbers",
    u"looked",
    u"healthier",
    u"than",
    u"last",
    u"year",
    u"caf\u00E9",
    u"na\u00EFve",
    u"\u00C6r\u00F8",
    u"plan",
    u"budget",
    u"report",
    u"draft",
    u"team",
    u"notes",
    u"later",
    u"\u05E9\u05DC\u05D5\u05DD",
    u"\u0633\u0644\u0627\u0645",
    u"\U0001F600",
    u"\U0001F44D\U0001F3FD",
    u"\U0001F468\u200D\U0001F469",
};

// One of these lands in about every 200 characters: hidden, unusual or changeable text.
inline const std::u16string_view disturbances[] = {
    u"\u200B",
    u"\u00A0",
    u"  ",
    u"\u201Cquoted\u201D",
    u" \u2014 ",
    u"\u2026",
    u"\uFEFF",
    u"\u202E",
    u" https://example.com/a?utm_source=news&id=7 ",
    u" **bold** ",
    u" [link](https://example.com/x) ",
};

// About `bytes` bytes of UTF-16 text.
inline std::u16string mixedProse(std::size_t bytes) {
    std::mt19937 random(1);
    std::uniform_int_distribution<std::size_t> word(0, std::size(words) - 1);
    std::uniform_int_distribution<std::size_t> disturbance(0, std::size(disturbances) - 1);
    std::uniform_int_distribution<int> sentenceLength(8, 16);
    std::u16string text;
    std::size_t sinceDisturbance = 0;
    for (int sentence = 0; text.size() * 2 < bytes; ++sentence) {
        if (sentence % 6 == 0) text += sentence % 12 == 0 ? u"## Section\n\n" : u"\n\n";
        for (int n = sentenceLength(random); n > 0; --n) {
            text += words[word(random)];
            text += u' ';
        }
        text.back() = u'.';
        text += sentence % 3 == 2 ? u'\n' : u' ';
        if ((sinceDisturbance += 100) >= 200) {
            text += disturbances[disturbance(random)];
            sinceDisturbance = 0;
        }
    }
    return text;
}

}  // namespace velquor::bench
