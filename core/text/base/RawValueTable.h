#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <utility>

namespace velquor::text {

// The raw string values of an enumeration, in declaration order. The raw value doubles as the
// display label or identifier, so one table serves printing, parsing and listing all cases.
template <class Enum, std::size_t N>
struct RawValueTable {
    std::array<std::pair<Enum, std::u16string_view>, N> entries;

    constexpr std::u16string_view rawValue(Enum value) const {
        for (const auto& [candidate, raw] : entries) {
            if (candidate == value) return raw;
        }
        return {};
    }

    // Exact, case-sensitive match; anything else yields nothing.
    constexpr std::optional<Enum> fromRawValue(std::u16string_view raw) const {
        for (const auto& [candidate, text] : entries) {
            if (text == raw) return candidate;
        }
        return std::nullopt;
    }

    constexpr std::array<Enum, N> allCases() const {
        std::array<Enum, N> cases{};
        for (std::size_t i = 0; i < N; ++i) cases[i] = entries[i].first;
        return cases;
    }
};

}  // namespace velquor::text
