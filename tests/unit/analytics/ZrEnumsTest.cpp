#include "analytics/tracker/ZrEnums.h"

#include <gtest/gtest.h>

#include <functional>

#include "analytics/tracker/ZrException.h"

namespace zoren::usage {
namespace {

template <class Enum>
std::string UnknownComplaint(int value) {
    try {
        toString(static_cast<Enum>(value));
    } catch (const ZrException& e) {
        return e.what();
    }
    return {};
}

TEST(ZrEnumsTest, WritesWireStrings) {
    EXPECT_EQ(toString(ClickType::Button), "Button");
    EXPECT_EQ(toString(ZrUserType::ZorenUserId), "zorenuserid");
    EXPECT_EQ(toString(ZrResult::Cancelled), "Cancelled");
    EXPECT_EQ(toString(ZrCurrency::GBP), "GBP");
    EXPECT_EQ(toString(ZrPaidPlatform::ChinaUnionPay), "ChinaUnionPay");
    EXPECT_EQ(toString(ZrIapType::NonRenewable), "NonRenewable");
    EXPECT_EQ(toString(ZrUpdateOp::UpgrateEnd), "UpgrateEnd");
    EXPECT_EQ(toString(ZrUpdateResult::Updateable), "Updateable");
    EXPECT_EQ(toString(ZrEdition::China), "china");
    EXPECT_EQ(toString(ZrEdition::Overseas), "overseas");
    EXPECT_EQ(toString(ZrIoType::Output), "Output");
}

TEST(ZrEnumsTest, RefusesValuesOutsideTheEnumeration) {
    EXPECT_EQ(UnknownComplaint<ClickType>(5), "Unknown ClickType [5]!");
    EXPECT_EQ(UnknownComplaint<ZrUserType>(12), "Unknown user type [12]!");
    EXPECT_EQ(UnknownComplaint<ZrResult>(-1), "Unknown task result [-1]!");
    EXPECT_EQ(UnknownComplaint<ZrCurrency>(11), "Unknown currency [11]!");
    EXPECT_EQ(UnknownComplaint<ZrPaidPlatform>(10), "Unknown paid platform [10]!");
    EXPECT_EQ(UnknownComplaint<ZrIapType>(4), "Unknown zrIapType [4]!");
    EXPECT_EQ(UnknownComplaint<ZrUpdateOp>(5), "Unknown ZrUpdateOp [5]!");
    EXPECT_EQ(UnknownComplaint<ZrUpdateResult>(6), "Unknown ZrUpdateResult [6]!");
    EXPECT_EQ(UnknownComplaint<ZrEdition>(2), "Unknown edition [2]!");
    EXPECT_EQ(UnknownComplaint<ZrIoType>(2), "the io type is invalid");
}

}  // namespace
}  // namespace zoren::usage
