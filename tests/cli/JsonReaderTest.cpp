#include "cli/BaselineJson.h"
#include "cli/JsonReader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

namespace velquor::cli {
namespace {

using ::testing::HasSubstr;

TEST(JsonReaderTest, ReadsEveryKindOfValue) {
    const auto value =
        parseJson(u"\uFEFF {\"a\": [true, false, null, -0.5e+2, \"x\\u00e9\\ud83d\\ude00\\n\\\"\"], \"b\": {}}\n");
    ASSERT_EQ(value.type, JsonValue::Type::object);
    ASSERT_EQ(value.object.size(), 2U);
    EXPECT_EQ(value.object[0].key, u"a");
    const auto& items = value.object[0].value.array;
    ASSERT_EQ(items.size(), 5U);
    EXPECT_TRUE(items[0].boolean);
    EXPECT_EQ(items[1].type, JsonValue::Type::boolean);
    EXPECT_EQ(items[2].type, JsonValue::Type::null);
    EXPECT_EQ(items[3].finiteNumber(), -50.0);
    EXPECT_EQ(items[3].integer(), std::nullopt);
    EXPECT_EQ(items[4].string, u"x\u00E9\U0001F600\n\"");
    EXPECT_EQ(value.object[1].value.type, JsonValue::Type::object);
}

TEST(JsonReaderTest, NumbersReadExactly) {
    EXPECT_EQ(parseJson(u"9223372036854775807").integer(), INT64_MAX);
    EXPECT_EQ(parseJson(u"9223372036854775808").integer(), std::nullopt);
    EXPECT_EQ(parseJson(u"-0").integer(), 0);
    EXPECT_EQ(parseJson(u"1.0").integer(), std::nullopt);
    EXPECT_EQ(parseJson(u"1e999").finiteNumber(), std::nullopt);
    EXPECT_EQ(parseJson(u"0.30000000000000004").finiteNumber(), 0.1 + 0.2);
}

TEST(JsonReaderTest, RefusesWhatStrictJsonDoesNotAllow) {
    const std::pair<std::u16string_view, std::string_view> refused[] = {
        {u"", "expected a JSON value at line 1, column 1"},
        {u"{\"a\": 1,}", "expected a key in double quotes at line 1, column 9"},
        {u"[1, 2,]", "expected a JSON value at line 1, column 7"},
        {u"{\"a\": 1, \"a\": 2}", "the key appears twice at line 1, column 10"},
        {u"{\"a\" 1}", "expected ':' after the key"},
        {u"[1 2]", "expected ',' or ']'"},
        {u"01", "unexpected text after the value"},
        {u"1.", "expected a digit"},
        {u"-", "expected a JSON value"},
        {u".5", "expected a JSON value"},
        {u"NaN", "expected a JSON value"},
        {u"// note\n{}", "expected a JSON value"},
        {u"\"tab\there\"", "control character in a string"},
        {u"\"\\x\"", "unknown escape"},
        {u"\"\\u12\"", "four hexadecimal digits"},
        {u"\"\\ud800\"", "unpaired surrogate"},
        {u"\"\xD800\"", "unpaired surrogate"},
        {u"\"open", "unterminated string"},
        {u"{}\n\n  x", "unexpected text after the value at line 3, column 3"},
    };
    for (const auto& [text, reason] : refused) {
        try {
            parseJson(text);
            ADD_FAILURE() << "accepted: " << std::string(text.begin(), text.end());
        } catch (const JsonSyntaxError& error) {
            EXPECT_THAT(error.what(), HasSubstr(std::string(reason)));
        }
    }
}

TEST(JsonReaderTest, DepthAndLengthAreBounded) {
    const std::u16string deep = std::u16string(100'000, u'[') + std::u16string(100'000, u']');
    EXPECT_THROW(parseJson(deep), JsonSyntaxError);
    EXPECT_NO_THROW(parseJson(std::u16string(32, u'[') + std::u16string(32, u']')));
    EXPECT_THROW(parseJson(std::u16string(33, u'[') + std::u16string(33, u']')), JsonSyntaxError);
    EXPECT_THROW(parseJson(u"\"" + std::u16string(2 << 20, u'a') + u"\""), JsonSyntaxError);
}

TEST(JsonReaderTest, BaselineRoundTripsExactly) {
    const text::WritingStyleBaseline baseline{
        3, 1234, {{u"Em dash as parenthetical", 0.1 + 0.2}, {u"Zero specificity", 100.0 / 3}}};
    std::ostringstream out;
    writeBaselineJson(out, baseline);
    EXPECT_EQ(
        out.str(),
        "{\"documentCount\":3,\"wordCount\":1234,\"signalRates\":{\"Em dash as parenthetical\":0.30000000000000004,"
        "\"Zero specificity\":33.333333333333336}}\n");
    const auto json = out.str();
    EXPECT_EQ(baselineFromJson(std::u16string(json.begin(), json.end())), baseline);
}

TEST(JsonReaderTest, BaselineMustHaveExactlyTheSavedForm) {
    const std::pair<std::u16string_view, std::string_view> refused[] = {
        {u"[]", "expected an object"},
        {u"{\"documentCount\":1,\"wordCount\":5}", "missing \"signalRates\""},
        {u"{\"documentCount\":1,\"wordCount\":5,\"signalRates\":{},\"extra\":0}", "unexpected key \"extra\""},
        {u"{\"documentCount\":0,\"wordCount\":5,\"signalRates\":{}}", "\"documentCount\" must be at least 1"},
        {u"{\"documentCount\":2,\"wordCount\":1,\"signalRates\":{}}", "\"wordCount\" must be at least 2"},
        {u"{\"documentCount\":1.5,\"wordCount\":5,\"signalRates\":{}}", "\"documentCount\" must be a whole number"},
        {u"{\"documentCount\":\"1\",\"wordCount\":5,\"signalRates\":{}}", "\"documentCount\" must be a whole number"},
        {u"{\"documentCount\":1,\"wordCount\":5,\"signalRates\":[]}", "\"signalRates\" must be an object"},
        {u"{\"documentCount\":1,\"wordCount\":5,\"signalRates\":{\"A\":-1}}",
         "the rate of \"A\" must be a number of 0 or more"},
        {u"{\"documentCount\":1,\"wordCount\":5,\"signalRates\":{\"A\":\"1\"}}", "the rate of \"A\""},
        {u"{\"documentCount\":1,\"wordCount\":5,\"signalRates\":{\"A\":1e400}}", "the rate of \"A\""},
        {u"{\"documentCount\":1,\"wordCount\":5,\"signalRates\":{\"\":1}}",
         "a signal label in \"signalRates\" is empty"},
        {u"{\"documentCount\":1,\"wordCount\":5,\"signalRates\":{\"A\":{\"B\":{\"C\":{}}}}}",
         "not valid JSON: arrays and objects are nested too deeply"},
    };
    for (const auto& [json, reason] : refused) {
        try {
            baselineFromJson(json);
            ADD_FAILURE() << "accepted: " << std::string(json.begin(), json.end());
        } catch (const BaselineFormatError& error) {
            EXPECT_THAT(error.what(), HasSubstr(std::string(reason)));
        }
    }
}

}  // namespace
}  // namespace velquor::cli
