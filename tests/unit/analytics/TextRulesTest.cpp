#include "analytics/sdk/TextRules.h"

#include <gtest/gtest.h>

namespace usage_analytics {
namespace {

struct Utf8Case {
    const char* what;
    std::string text;
    bool valid;
};

TEST(TextRulesTest, AcceptsOnlyWellFormedUtf8) {
    const Utf8Case cases[] = {
        {"empty", "", true},
        {"printable ASCII", "Hello, world ~", true},
        {"tab, line feed, carriage return", "a\tb\nc\r", true},
        {"byte 0x01", "a\x01", false},
        {"byte 0x7F", "a\x7F", false},
        {"zero byte", std::string("a\0b", 3), false},
        {"two bytes", "\xC2\xA9", true},
        {"three bytes", "\xE5\xAE\x89\xE8\xA3\x85", true},
        {"four bytes", "\xF0\x9F\x98\x80", true},
        {"highest code point", "\xF4\x8F\xBF\xBF", true},
        {"overlong C0 80", "\xC0\x80", false},
        {"overlong C1", "\xC1\xBF", false},
        {"overlong three-byte form", "\xE0\x9F\xBF", false},
        {"overlong four-byte form", "\xF0\x8F\xBF\xBF", false},
        {"surrogate ED A0 80", "\xED\xA0\x80", false},
        {"last before surrogates", "\xED\x9F\xBF", true},
        {"above U+10FFFF", "\xF4\x90\x80\x80", false},
        {"lead byte F5", "\xF5\x80\x80\x80", false},
        {"lone continuation", "\x80", false},
        {"truncated at the end", "ok\xE5\xAE", false},
        {"missing continuation", "\xE5\x41\x89", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsValidUtf8(c.text), c.valid) << c.what;
    }
}

struct NameCase {
    std::string name;
    const char* complaint;  // empty when the name is valid
};

TEST(TextRulesTest, NamesAreVariableLike) {
    const NameCase cases[] = {
        {"zr_task_name", ""},
        {"$is_first_time", ""},
        {"_a9", ""},
        {std::string(100, 'a'), ""},
        {std::string(101, 'a'), "The Property Key is empty or too long, max length is 100"},
        {"", "The Property Key is empty or too long, max length is 100"},
        {"9abc", "The Property Key need to be a valid variable name."},
        {"a-b", "The Property Key need to be a valid variable name."},
        {"\xE5\xAE\x89", "The Property Key need to be a valid variable name."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckName(c.name, "Property Key"), c.complaint) << c.name;
    }
}

TEST(TextRulesTest, IdentifiersHoldOneTo255Bytes) {
    EXPECT_EQ(CheckIdentifier(std::string(255, 'x'), "Distinct ID"), "");
    EXPECT_EQ(CheckIdentifier(std::string(256, 'x'), "Distinct ID"),
              "The Distinct ID is too long, max length is 255.");
    EXPECT_EQ(CheckIdentifier("", "Original ID"), "The Original ID is empty.");
}

}  // namespace
}  // namespace usage_analytics
