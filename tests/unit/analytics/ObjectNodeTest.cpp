#include "analytics/sdk/ObjectNode.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>

#include "analytics/sdk/JsonText.h"

namespace usage_analytics::utils {
namespace {

TEST(ObjectNodeTest, WritesNamesInByteOrderWithoutBlanks) {
    ObjectNode node;
    node.SetInteger("b", 2);
    node.SetString("_z", "u");
    node.SetBool("a", false);
    node.SetBool("$x", true);
    node.SetInteger("B", 1);
    node.SetList("l", {"x", "y\"z"});
    node.SetList("empty", {});
    EXPECT_EQ(node.ToJson(),
              R"({"$x":true,"B":1,"_z":"u","a":false,"b":2,"empty":[],"l":["x","y\"z"]})");
}

TEST(ObjectNodeTest, EscapesExactlySevenCharacters) {
    ObjectNode node;
    node.SetString("s", "q\"b\\/\n\r\t\xE5\xAE\x89");
    // Backspace and form feed never pass the string setter's check; lists are not checked.
    node.SetList("l", {"\b\f\x01\x7F"});
    EXPECT_EQ(node.ToJson(),
              "{\"l\":[\"\\b\\f\x01\x7F\"],\"s\":\"q\\\"b\\\\/\\n\\r\\t\xE5\xAE\x89\"}");
}

TEST(ObjectNodeTest, WritesNumbersAsPercentG) {
    const std::pair<double, const char*> cases[] = {
        {12.5, "12.5"},          {0.1, "0.1"},       {1234567.5, "1.23457e+06"}, {100000, "100000"},
        {1e6, "1e+06"},          {0.00001, "1e-05"}, {-3.25, "-3.25"},           {0, "0"},
        {2.0 / 3.0, "0.666667"}, {NAN, "null"},      {INFINITY, "null"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(FormatNumber(value), text) << value;
    }
    ObjectNode node;
    node.SetInteger("i", 1234567);
    node.SetInteger("min", INT64_MIN);
    EXPECT_EQ(node.ToJson(), "{\"i\":1234567,\"min\":-9223372036854775808}");
}

TEST(ObjectNodeTest, WritesDateTimesInLocalTime) {
    const char* saved = std::getenv("TZ");
    const std::string previous = saved ? saved : "";
    setenv("TZ", "CST-8", 1);
    tzset();
    ObjectNode node;
    node.SetDateTime("t", 1700000000, 7);
    EXPECT_EQ(node.ToJson(), "{\"t\":\"2023-11-15 06:13:20.007\"}");
    saved ? setenv("TZ", previous.c_str(), 1) : unsetenv("TZ");
    tzset();
}

TEST(ObjectNodeTest, RefusedStringsLeaveTheEarlierValue) {
    ObjectNode node;
    EXPECT_TRUE(node.SetString("s", std::string(8192, 'a')));
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(node.SetString("s", std::string(8193, 'b')));
    EXPECT_FALSE(node.SetString("s", "\xC0\x80"));
    EXPECT_FALSE(node.SetString("t", "\x01"));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "String property 's' is too long, value: " + std::string(8193, 'b') +
                  "\nString property 's' is not valid UTF-8 string, value: \xC0\x80\n"
                  "String property 't' is not valid UTF-8 string, value: \x01\n");
    EXPECT_EQ(std::get<std::string>(*node.Find("s")), std::string(8192, 'a'));
    EXPECT_EQ(node.Find("t"), nullptr);
}

TEST(ObjectNodeTest, PropertySetsHoldNoNestedObject) {
    ObjectNode inner;
    inner.SetInteger("x", 1);
    ObjectNode outer;
    outer.SetObject("o", inner);
    outer.SetInteger("n", 2);
    EXPECT_EQ(outer.ToJson(), R"({"n":2,"o":{"x":1}})");

    PropertiesNode properties;
    properties.SetObject("o", inner);
    properties.Merge(outer);
    EXPECT_EQ(properties.ToJson(), R"({"n":2})");
}

TEST(ObjectNodeTest, MergeReplacesEqualNames) {
    ObjectNode base;
    base.SetString("a", "old");
    base.SetInteger("b", 1);
    ObjectNode update;
    update.SetNumber("a", 1.5);
    base.Merge(update);
    EXPECT_EQ(base.ToJson(), R"({"a":1.5,"b":1})");
}

}  // namespace
}  // namespace usage_analytics::utils
