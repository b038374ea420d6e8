#include "core/files/pdf/PdfDate.h"

#include <chrono>
#include <cstdio>

namespace velquor::files {

namespace {

// Reads the fields of a PDF date from left to right.
class DateReader {
public:
    explicit DateReader(std::string_view text) : text_(text) {}

    bool atEnd() const { return text_.empty(); }

    bool skip(char c) {
        if (text_.empty() || text_.front() != c) return false;
        text_.remove_prefix(1);
        return true;
    }

    // A field of exactly `digits` digits when one is there; `fallback` when the text ends first.
    std::optional<int> field(std::size_t digits, int fallback) {
        if (text_.empty() || !isDigit(text_.front())) return fallback;
        if (text_.size() < digits) return std::nullopt;
        int value = 0;
        for (std::size_t i = 0; i < digits; ++i) {
            if (!isDigit(text_[i])) return std::nullopt;
            value = value * 10 + (text_[i] - '0');
        }
        text_.remove_prefix(digits);
        return value;
    }

private:
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }

    std::string_view text_;
};

bool within(std::optional<int> value, int low, int high) { return value && *value >= low && *value <= high; }

// Minutes east of UTC from "Z", "+HH'mm'" or "-HH'mm'" (the apostrophes and minutes optional);
// nothing when the text after the time is anything else.
std::optional<int> utcOffsetMinutes(DateReader& reader) {
    if (reader.atEnd()) return 0;
    int sign = 0;
    if (reader.skip('Z')) {
        sign = 1;
    } else if (reader.skip('+')) {
        sign = 1;
    } else if (reader.skip('-')) {
        sign = -1;
    } else {
        return std::nullopt;
    }
    const auto hours = reader.field(2, 0);
    reader.skip('\'');
    const auto minutes = reader.field(2, 0);
    reader.skip('\'');
    if (!reader.atEnd() || !within(hours, 0, 23) || !within(minutes, 0, 59)) return std::nullopt;
    return sign * (*hours * 60 + *minutes);
}

}  // namespace

std::optional<std::string> isoDateFromPdfDate(std::string_view pdfDate) {
    if (pdfDate.starts_with("D:")) pdfDate.remove_prefix(2);
    DateReader reader(pdfDate);
    if (reader.atEnd()) return std::nullopt;
    const auto year = reader.field(4, 0);
    const auto month = reader.field(2, 1);
    const auto day = reader.field(2, 1);
    const auto hour = reader.field(2, 0);
    const auto minute = reader.field(2, 0);
    const auto second = reader.field(2, 0);
    if (!year || !within(month, 1, 12) || !within(hour, 0, 23) || !within(minute, 0, 59) || !within(second, 0, 59)) {
        return std::nullopt;
    }
    const std::chrono::year_month_day date{std::chrono::year(*year), std::chrono::month(static_cast<unsigned>(*month)),
                                           std::chrono::day(static_cast<unsigned>(day.value_or(0)))};
    if (!day || !date.ok()) return std::nullopt;
    const auto offset = utcOffsetMinutes(reader);
    if (!offset) return std::nullopt;

    using namespace std::chrono;
    const auto utc = sys_days(date) + hours(*hour) + minutes(*minute - *offset) + seconds(*second);
    const auto utcDay = floor<days>(utc);
    const year_month_day utcDate(utcDay);
    const hh_mm_ss time(utc - utcDay);
    const int utcYear = static_cast<int>(utcDate.year());
    if (utcYear < 0 || utcYear > 9999) return std::nullopt;
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", utcYear, static_cast<unsigned>(utcDate.month()),
                  static_cast<unsigned>(utcDate.day()), static_cast<int>(time.hours().count()),
                  static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count()));
    return std::string(text);
}

}  // namespace velquor::files
