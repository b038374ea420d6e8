#include "core/text/cleaning/AsciiConversion.h"

#include "core/text/base/Ascii.h"
#include "core/text/base/Utf.h"
#include "core/text/base/Whitespace.h"

#include <unicode/translit.h>
#include <unicode/uchar.h>
#include <unicode/uscript.h>

#include <memory>
#include <optional>
#include <unordered_map>

namespace velquor::text {

namespace {

// Transliterators are costly to make and are not shared between threads, so each thread keeps
// its own pair; null when ICU cannot make them.
struct Transliterators {
    std::unique_ptr<icu::Transliterator> toLatin;
    std::unique_ptr<icu::Transliterator> stripCombiningMarks;

    Transliterators() {
        UErrorCode status = U_ZERO_ERROR;
        toLatin.reset(icu::Transliterator::createInstance("Any-Latin", UTRANS_FORWARD, status));
        if (U_FAILURE(status)) toLatin.reset();
        status = U_ZERO_ERROR;
        stripCombiningMarks.reset(
            icu::Transliterator::createInstance("NFD; [:Mn:] Remove; NFC", UTRANS_FORWARD, status));
        if (U_FAILURE(status)) stripCombiningMarks.reset();
    }

    bool available() const { return toLatin && stripCombiningMarks; }
};

Transliterators& threadTransliterators() {
    thread_local Transliterators transliterators;
    return transliterators;
}

// ICU rewrites a transliterated string in place, which grows quadratically with its length, so
// only the runs of non-ASCII text go through it, in pieces of about this length. A run is cut
// before a scalar that starts a character of its own, and only inside a run of nothing but
// marks, at four times the length, anywhere between scalars.
constexpr std::size_t longestPiece = 256;
constexpr std::size_t longestUncutPiece = 4 * longestPiece;
// Prose repeats its words; short pieces are remembered within one conversion.
constexpr std::size_t longestRememberedPiece = 64;
constexpr std::size_t rememberedPieces = 4096;

// Chinese characters cost ICU some fifteen microseconds each, and a run of them rarely repeats,
// so each is transliterated on its own, once per conversion, its syllable set off by spaces as
// ICU sets them off in a run. That gives up the few readings ICU takes from a neighbouring
// character, for a cost that no longer grows with the text.
bool isHan(char32_t scalar) {
    UErrorCode status = U_ZERO_ERROR;
    return uscript_getScript(static_cast<UChar32>(scalar), &status) == USCRIPT_HAN && U_SUCCESS(status);
}

bool startsCharacter(std::u16string_view text, std::size_t offset) {
    const auto scalar = scalarAt(text, offset).scalar;
    const auto category = U_MASK(u_charType(static_cast<UChar32>(scalar)));
    return (category & (U_GC_M_MASK | U_GC_CF_MASK)) == 0;
}

std::size_t pieceEnd(std::u16string_view text, std::size_t start) {
    for (const auto& [scalar, offset, units] : scalarsOf(text, start)) {
        const auto length = offset - start;
        const bool cut = isAscii(scalar) || isHan(scalar) || length >= longestUncutPiece ||
                         (length >= longestPiece && startsCharacter(text, offset));
        if (cut) return offset;
    }
    return text.size();
}

std::u16string transliterated(std::u16string_view piece, const Transliterators& transliterators) {
    icu::UnicodeString converted(piece.data(), static_cast<std::int32_t>(piece.size()));
    transliterators.toLatin->transliterate(converted);
    transliterators.stripCombiningMarks->transliterate(converted);
    return std::u16string(converted.getBuffer(), static_cast<std::size_t>(converted.length()));
}

std::u16string transliteratedToLatin(std::u16string_view text, const Transliterators& transliterators) {
    std::unordered_map<std::u16string, std::u16string> remembered;
    std::unordered_map<char32_t, std::u16string> rememberedHan;
    std::u16string out;
    out.reserve(text.size());
    bool afterHan = false;
    for (std::size_t start = 0; start < text.size();) {
        if (isAscii(text[start])) {
            out.push_back(text[start++]);
            afterHan = false;
            continue;
        }
        const auto [scalar, length] = scalarAt(text, start);
        if (isHan(scalar)) {
            auto found = rememberedHan.find(scalar);
            if (found == rememberedHan.end()) {
                found =
                    rememberedHan.emplace(scalar, transliterated(text.substr(start, length), transliterators)).first;
            }
            if (afterHan) out.push_back(u' ');
            out += found->second;
            afterHan = true;
            start += length;
            continue;
        }
        afterHan = false;
        const auto end = pieceEnd(text, start);
        const auto piece = text.substr(start, end - start);
        if (piece.size() > longestRememberedPiece) {
            out += transliterated(piece, transliterators);
        } else {
            const std::u16string key(piece);
            auto found = remembered.find(key);
            if (found == remembered.end()) {
                if (remembered.size() >= rememberedPieces) remembered.clear();
                found = remembered.emplace(key, transliterated(piece, transliterators)).first;
            }
            out += found->second;
        }
        start = end;
    }
    return out;
}

}  // namespace

std::u16string foldScandinavianCharacters(std::u16string_view text) {
    std::u16string folded;
    folded.reserve(text.size());
    for (const char16_t unit : text) {
        switch (unit) {
            case u'\u00C6':
                folded += u"AE";
                break;
            case u'\u00D8':
                folded += u"O";
                break;
            case u'\u00C5':
                folded += u"Aa";
                break;
            case u'\u00E6':
                folded += u"ae";
                break;
            case u'\u00F8':
                folded += u"o";
                break;
            case u'\u00E5':
                folded += u"aa";
                break;
            default:
                folded.push_back(unit);
                break;
        }
    }
    return folded;
}

AsciiConversion convertToAscii(std::u16string_view text) {
    const auto& transliterators = threadTransliterators();
    const auto latin = transliterators.available()
                           ? transliteratedToLatin(foldScandinavianCharacters(text), transliterators)
                           : std::u16string(text);
    AsciiConversion result;
    result.text.reserve(latin.size());
    for (const auto& [scalar, offset, length] : scalarsOf(latin)) {
        if (isAscii(scalar)) {
            result.text.push_back(static_cast<char16_t>(scalar));
        } else {
            result.text.push_back(isWhitespaceOrNewline(scalar) ? u' ' : u'?');
            ++result.replacements;
        }
    }
    return result;
}

}  // namespace velquor::text
