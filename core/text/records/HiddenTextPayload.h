#pragma once

#include "core/text/base/RawValueTable.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace velquor::text {

// A run of hidden scalars that decodes to readable text.
struct HiddenTextPayload {
    enum class Kind { tagCharacters, variationSelectors };

    HiddenTextPayload(Kind payloadKind, std::u16string decoded, std::int64_t decodedBytes);

    // Kind + hash of the decoded text + byte count: unique within a report, stable only within one run.
    std::u16string id;
    Kind kind;
    std::u16string decodedText;
    std::int64_t byteCount;

    friend bool operator==(const HiddenTextPayload&, const HiddenTextPayload&) = default;
};

inline constexpr RawValueTable<HiddenTextPayload::Kind, 2> hiddenTextPayloadKinds{{{
    {HiddenTextPayload::Kind::tagCharacters, u"Tag characters"},
    {HiddenTextPayload::Kind::variationSelectors, u"Variation selectors"},
}}};

inline std::u16string_view rawValue(HiddenTextPayload::Kind kind) { return hiddenTextPayloadKinds.rawValue(kind); }

}  // namespace velquor::text
