#include "app/clipboard/RtfReader.h"

#include <unicode/ucnv.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string_view>
#include <vector>

namespace velquor::app {

namespace {

// Destinations whose text is never part of what a reader sees.
constexpr std::array<std::string_view, 27> hiddenDestinations{
    "fonttbl",      "colortbl",
    "stylesheet",   "info",
    "pict",         "object",
    "header",       "headerl",
    "headerr",      "headerf",
    "footer",       "footerl",
    "footerr",      "footerf",
    "fldinst",      "filetbl",
    "listtable",    "revtbl",
    "rsidtbl",      "listoverridetable",
    "generator",    "xmlnstbl",
    "themedata",    "datastore",
    "latentstyles", "colorschememapping",
    "pgdsctbl",
};

struct CharacterWord {
    std::string_view word;
    std::u16string_view text;
};

// Words that stand for characters; the invisible ones matter as much as the visible ones.
constexpr std::array<CharacterWord, 22> characterWords{{
    {"par", u"\n"},           {"line", u"\n"},          {"sect", u"\n"},        {"page", u"\n"},
    {"row", u"\n"},           {"tab", u"\t"},           {"cell", u"\t"},        {"emdash", u"\u2014"},
    {"endash", u"\u2013"},    {"bullet", u"\u2022"},    {"lquote", u"\u2018"},  {"rquote", u"\u2019"},
    {"ldblquote", u"\u201C"}, {"rdblquote", u"\u201D"}, {"emspace", u"\u2003"}, {"enspace", u"\u2002"},
    {"qmspace", u"\u2005"},   {"zwj", u"\u200D"},       {"zwnj", u"\u200C"},    {"ltrmark", u"\u200E"},
    {"rtlmark", u"\u200F"},   {"zwbo", u"\u200B"},
}};

struct CodePageWord {
    std::string_view word;
    int codePage;
};

constexpr std::array<CodePageWord, 4> characterSetWords{{{"ansi", 1252}, {"mac", 10000}, {"pc", 437}, {"pca", 850}}};

constexpr std::size_t maximumWordLength = 32;
constexpr std::int64_t maximumParameter = 2'147'483'647;

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

Converter openConverter(const std::string& name) {
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(name.c_str(), &status));
    if (U_FAILURE(status)) return nullptr;
    return converter;
}

// ICU knows the Windows and IBM code pages under several names; the first that opens wins.
Converter codePageConverter(int codePage) {
    if (codePage == 65001) return openConverter("UTF-8");
    if (codePage == 10000) return openConverter("macintosh");
    const auto number = std::to_string(codePage);
    for (const auto* prefix : {"windows-", "cp", "ibm-"}) {
        if (auto converter = openConverter(prefix + number)) return converter;
    }
    return nullptr;
}

bool isLetter(std::uint8_t byte) { return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z'); }
bool isDigit(std::uint8_t byte) { return byte >= '0' && byte <= '9'; }

int hexValue(std::uint8_t byte) {
    if (isDigit(byte)) return byte - '0';
    if (byte >= 'a' && byte <= 'f') return byte - 'a' + 10;
    if (byte >= 'A' && byte <= 'F') return byte - 'A' + 10;
    return -1;
}

struct ControlWord {
    std::string name;
    std::optional<std::int64_t> parameter;
};

struct Group {
    bool hidden = false;
    std::int64_t fallbackCount = 1;  // characters after \uN that stand in for it
};

class RtfReader {
public:
    explicit RtfReader(std::span<const std::uint8_t> rtf) : data_(rtf), converter_(codePageConverter(1252)) {}

    std::optional<std::u16string> read() {
        while (position_ < data_.size()) {
            const auto byte = data_[position_++];
            if (byte == '{') {
                if (!openGroup()) return std::nullopt;
            } else if (byte == '}') {
                if (!closeGroup()) break;
            } else if (byte == '\\') {
                readControl();
            } else if (byte != '\r' && byte != '\n') {
                character(byte);
            }
        }
        flushBytes();
        return withoutLoneSurrogates(std::move(text_));
    }

private:
    bool hidden() const { return groups_.empty() || groups_.back().hidden; }

    bool openGroup() {
        flushBytes();
        pendingFallback_ = 0;
        if (groups_.size() >= maximumRtfGroupDepth) return false;
        groups_.push_back(groups_.empty() ? Group{} : groups_.back());
        return true;
    }

    // False once the outermost group closes: whatever follows is not part of the document.
    bool closeGroup() {
        flushBytes();
        pendingFallback_ = 0;
        if (!groups_.empty()) groups_.pop_back();
        return !groups_.empty();
    }

    // One visible character of the document; fallback characters after \uN are dropped.
    bool takesFallback() {
        if (pendingFallback_ == 0) return false;
        --pendingFallback_;
        return true;
    }

    void character(std::uint8_t byte) {
        if (takesFallback() || hidden()) return;
        if (byte >= 0x80) {
            pendingBytes_.push_back(static_cast<char>(byte));
            return;
        }
        if (byte < 0x20 && byte != '\t') return;
        flushBytes();
        text_.push_back(static_cast<char16_t>(byte));
    }

    void readControl() {
        if (position_ >= data_.size()) return;
        const auto byte = data_[position_];
        if (isLetter(byte)) {
            controlWord(readWord());
            return;
        }
        ++position_;
        if (byte == '\'') {
            hexByte();
        } else if (byte == '*') {
            if (!groups_.empty()) groups_.back().hidden = true;
        } else if (byte == '\\' || byte == '{' || byte == '}') {
            character(byte);
        } else {
            controlSymbol(byte);
        }
    }

    ControlWord readWord() {
        ControlWord word;
        while (position_ < data_.size() && isLetter(data_[position_])) {
            if (word.name.size() < maximumWordLength) word.name.push_back(static_cast<char>(data_[position_]));
            ++position_;
        }
        bool negative = false;
        if (position_ + 1 < data_.size() && data_[position_] == '-' && isDigit(data_[position_ + 1])) {
            negative = true;
            ++position_;
        }
        if (position_ < data_.size() && isDigit(data_[position_])) {
            std::int64_t value = 0;
            while (position_ < data_.size() && isDigit(data_[position_])) {
                value = std::min(maximumParameter, value * 10 + (data_[position_] - '0'));
                ++position_;
            }
            word.parameter = negative ? -value : value;
        }
        if (position_ < data_.size() && data_[position_] == ' ') ++position_;
        return word;
    }

    void controlWord(const ControlWord& word) {
        if (word.name == "bin") {
            flushBytes();
            const auto length = std::max<std::int64_t>(0, word.parameter.value_or(0));
            position_ += std::min<std::size_t>(static_cast<std::size_t>(length), data_.size() - position_);
            return;
        }
        if (word.name == "uc") {
            if (!groups_.empty())
                groups_.back().fallbackCount = std::clamp<std::int64_t>(word.parameter.value_or(1), 0, 255);
            return;
        }
        if (word.name == "u" && word.parameter) {
            unicodeCharacter(*word.parameter);
            return;
        }
        if (takesFallback()) return;
        if (std::find(hiddenDestinations.begin(), hiddenDestinations.end(), word.name) != hiddenDestinations.end()) {
            if (!groups_.empty()) groups_.back().hidden = true;
            return;
        }
        if (word.name == "ansicpg" && word.parameter) {
            useCodePage(static_cast<int>(std::clamp<std::int64_t>(*word.parameter, 0, 65535)));
            return;
        }
        for (const auto& set : characterSetWords) {
            if (word.name == set.word) useCodePage(set.codePage);
        }
        for (const auto& entry : characterWords) {
            if (word.name == entry.word) append(entry.text);
        }
    }

    void controlSymbol(std::uint8_t symbol) {
        if (takesFallback()) return;
        if (symbol == '~') append(u"\u00A0");
        if (symbol == '_') append(u"\u2011");
        if (symbol == '\r' || symbol == '\n') append(u"\n");
    }

    void hexByte() {
        if (position_ + 2 > data_.size()) {
            position_ = data_.size();
            return;
        }
        const int high = hexValue(data_[position_]);
        const int low = hexValue(data_[position_ + 1]);
        position_ += 2;
        if (high < 0 || low < 0 || takesFallback() || hidden()) return;
        pendingBytes_.push_back(static_cast<char>(high * 16 + low));
    }

    // RTF writes code points above 32767 as negative 16-bit numbers.
    void unicodeCharacter(std::int64_t value) {
        if (!hidden()) {
            flushBytes();
            text_.push_back(static_cast<char16_t>(value < 0 ? value + 65536 : value));
        }
        pendingFallback_ = groups_.empty() ? 1 : groups_.back().fallbackCount;
    }

    void useCodePage(int codePage) {
        flushBytes();
        if (auto converter = codePageConverter(codePage)) converter_ = std::move(converter);
    }

    void append(std::u16string_view characters) {
        if (hidden()) return;
        flushBytes();
        text_.append(characters);
    }

    // Bytes of the code page are decoded together, so that double-byte pages keep their pairs.
    void flushBytes() {
        if (pendingBytes_.empty()) return;
        if (converter_) {
            ucnv_reset(converter_.get());
            UErrorCode status = U_ZERO_ERROR;
            const auto length = static_cast<std::int32_t>(pendingBytes_.size());
            std::vector<UChar> decoded(pendingBytes_.size() * 2 + 1);
            const auto written =
                ucnv_toUChars(converter_.get(), decoded.data(), static_cast<std::int32_t>(decoded.size()),
                              pendingBytes_.data(), length, &status);
            if (U_SUCCESS(status))
                text_.append(decoded.data(), static_cast<std::size_t>(std::min<std::int32_t>(written, length * 2)));
        }
        pendingBytes_.clear();
    }

    static std::u16string withoutLoneSurrogates(std::u16string text) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto unit = text[i];
            const bool high = unit >= 0xD800 && unit <= 0xDBFF;
            const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
            if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
                ++i;
            } else if (high || low) {
                text[i] = u'\uFFFD';
            }
        }
        return text;
    }

    std::span<const std::uint8_t> data_;
    std::size_t position_ = 0;
    std::vector<Group> groups_;
    std::int64_t pendingFallback_ = 0;
    std::string pendingBytes_;
    Converter converter_;
    std::u16string text_;
};

}  // namespace

std::optional<std::u16string> rtfPlainText(std::span<const std::uint8_t> rtf) {
    constexpr std::string_view signature = "{\\rtf";
    if (rtf.size() < signature.size() || !std::equal(signature.begin(), signature.end(), rtf.begin())) {
        return std::nullopt;
    }
    return RtfReader(rtf).read();
}

}  // namespace velquor::app
