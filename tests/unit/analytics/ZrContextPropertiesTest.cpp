#include "analytics/tracker/ZrContextProperties.h"

#include <gtest/gtest.h>

#include "analytics/tracker/ZrException.h"

namespace zoren::usage {
namespace {

std::string Complaint(const std::function<void()>& action) {
    try {
        action();
    } catch (const ZrException& e) {
        return e.what();
    }
    return {};
}

TEST(ZrContextPropertiesTest, AbValuesAreShortUpperCaseCodes) {
    const std::pair<std::string, std::string> cases[] = {
        {"IN", ""},
        {"A", ""},
        {"A1", ""},
        {"AB9", ""},
        {"in", "First char is not in A to Z"},
        {"1A", "First char is not in A to Z"},
        {"Ab", "second char is not in A to Z and 0 to 9"},
        {"AB-", "third char is not in A to Z and 0 to 9"},
        {"ABCD", "value's length is great than 3."},
    };
    for (const auto& [value, complaint] : cases) {
        bool valid = false;
        EXPECT_EQ(Complaint([&] { valid = isValidABValue(value); }), complaint) << value;
        EXPECT_EQ(valid, complaint.empty()) << value;
    }
    EXPECT_FALSE(isValidABValue(""));
}

TEST(ZrContextPropertiesTest, RegistersTheGroupForEachListedEventType) {
    ZrContextProperties context;
    EXPECT_EQ(Complaint([&] { context.setProperty("IN", {3, 15, 4}); }), "ZrEvent[15] overflow!");
    ASSERT_EQ(context.getEventProperties(kEventClick).size(), 1u);
    EXPECT_EQ(context.getEventProperties(kEventClick)[0].name, "zrc_ab");
    EXPECT_EQ(*context.getEventProperties(kEventClick)[0].value, "IN");
    EXPECT_TRUE(context.getEventProperties(kEventView).empty());
    EXPECT_EQ(Complaint([&] { context.getEventProperties(15); }), "ZrEvent[15] overflow!");
    EXPECT_EQ(Complaint([&] { context.setProperty("A", {7}); }), "Property[zrc_ab] already exist!");
}

TEST(ZrContextPropertiesTest, EnsureUtf8ConvertsOnlyWhatIsNotUtf8Yet) {
    const std::string utf8 = "\xE5\xAE\x89\xE8\xA3\x85\xE4\xB8\xAD";  // 安装中
    const std::string gbk = "\xB0\xB2\xD7\xB0\xD6\xD0";               // 安装中 in GBK
    EXPECT_EQ(ensureUtf8(gbk), utf8);
    EXPECT_EQ(ensureUtf8(utf8), utf8);
    EXPECT_EQ(ensureUtf8(ensureUtf8(gbk)), utf8);
    EXPECT_EQ(ensureUtf8(""), "");
    EXPECT_EQ(ensureUtf8("plain"), "plain");
}

}  // namespace
}  // namespace zoren::usage
