#include "cli/BaselineJson.h"

#include "cli/JsonReader.h"
#include "cli/JsonWriter.h"

#include "core/text/input/TextInputSafety.h"
#include "core/text/base/Utf.h"

#include <algorithm>
#include <array>

namespace velquor::cli {

namespace {

using text::WritingStyleBaseline;

constexpr std::array<std::u16string_view, 3> baselineKeys{u"documentCount", u"wordCount", u"signalRates"};

[[noreturn]] void reject(const std::string& reason) { throw BaselineFormatError(reason); }

std::string inQuotes(std::u16string_view key) { return "\"" + text::encodeUtf8(key) + "\""; }

const JsonValue& member(const JsonValue& object, std::u16string_view key) {
    const auto found =
        std::find_if(object.object.begin(), object.object.end(), [&](const auto& entry) { return entry.key == key; });
    if (found == object.object.end()) reject("missing " + inQuotes(key));
    return found->value;
}

std::int64_t count(const JsonValue& object, std::u16string_view key, std::int64_t minimum) {
    const auto value = member(object, key).integer();
    if (!value) reject(inQuotes(key) + " must be a whole number");
    if (*value < minimum) reject(inQuotes(key) + " must be at least " + std::to_string(minimum));
    return *value;
}

void readRates(const JsonValue& rates, WritingStyleBaseline& baseline) {
    if (rates.type != JsonValue::Type::object) reject("\"signalRates\" must be an object of signal labels and rates");
    for (const auto& [label, value] : rates.object) {
        if (label.empty()) reject("a signal label in \"signalRates\" is empty");
        const auto rate = value.finiteNumber();
        if (!rate || *rate < 0) reject("the rate of " + inQuotes(label) + " must be a number of 0 or more");
        baseline.signalRates.emplace(label, *rate);
    }
}

}  // namespace

void writeBaselineJson(std::ostream& out, const WritingStyleBaseline& baseline) {
    JsonWriter json(out);
    json.beginObject().field("documentCount", baseline.documentCount).field("wordCount", baseline.wordCount);
    json.key("signalRates").beginObject();
    for (const auto& [label, rate] : baseline.signalRates) {
        json.key(label).value(rate);
    }
    json.endObject().endObject();
    out << '\n';
}

WritingStyleBaseline baselineFromJson(std::u16string_view jsonText) {
    JsonValue document;
    try {
        document =
            parseJson(jsonText, {.maximumLength = static_cast<std::size_t>(baselineFileLimit), .maximumDepth = 4});
    } catch (const JsonSyntaxError& error) {
        reject(std::string("not valid JSON: ") + error.what());
    }
    if (document.type != JsonValue::Type::object)
        reject("expected an object with \"documentCount\", \"wordCount\" and \"signalRates\"");
    for (const auto& [key, value] : document.object) {
        if (std::find(baselineKeys.begin(), baselineKeys.end(), key) == baselineKeys.end())
            reject("unexpected key " + inQuotes(key));
    }
    WritingStyleBaseline baseline;
    baseline.documentCount = count(document, u"documentCount", 1);
    // Every document counts at least one word.
    baseline.wordCount = count(document, u"wordCount", baseline.documentCount);
    readRates(member(document, u"signalRates"), baseline);
    return baseline;
}

WritingStyleBaseline readBaselineFile(const std::filesystem::path& path) {
    return baselineFromJson(text::TextInputSafety::readText(path, baselineFileLimit));
}

}  // namespace velquor::cli
