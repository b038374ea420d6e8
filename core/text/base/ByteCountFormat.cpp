#include "core/text/base/ByteCountFormat.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>

namespace velquor::text {

namespace {

struct DecimalUnit {
    std::string_view name;
    int fractionDigits;
};

constexpr std::array<DecimalUnit, 6> decimalUnits{{
    {"KB", 0},
    {"MB", 1},
    {"GB", 2},
    {"TB", 2},
    {"PB", 2},
    {"EB", 2},
}};

std::string withoutTrailingZeros(std::string number) {
    if (number.find('.') == std::string::npos) return number;
    while (number.back() == '0') number.pop_back();
    if (number.back() == '.') number.pop_back();
    return number;
}

// Locale-independent: a decimal point on every machine.
std::string fixed(double value, int fractionDigits) {
    std::array<char, 64> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, fractionDigits);
    return std::string(buffer.data(), result.ptr);
}

}  // namespace

std::string formattedByteCount(std::int64_t bytes) {
    const bool negative = bytes < 0;
    const double magnitude = std::fabs(static_cast<double>(bytes));
    const std::string sign = negative ? "-" : "";
    if (magnitude < 1000) {
        const auto count = static_cast<std::int64_t>(magnitude);
        return sign + std::to_string(count) + (count == 1 ? " byte" : " bytes");
    }
    double scaled = magnitude / 1000;
    for (std::size_t unit = 0;; ++unit, scaled /= 1000) {
        const auto& [name, digits] = decimalUnits[unit];
        const auto number = fixed(scaled, digits);
        double shown = 0;
        std::from_chars(number.data(), number.data() + number.size(), shown);
        if (shown < 1000 || unit + 1 == decimalUnits.size()) {
            return sign + withoutTrailingZeros(number) + " " + std::string(name);
        }
    }
}

}  // namespace velquor::text
