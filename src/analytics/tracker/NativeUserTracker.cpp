#include "analytics/tracker/NativeUserTracker.h"

#include <chrono>
#include <map>

#include "analytics/sdk/Sdk.h"
#include "analytics/tracker/ZrException.h"

namespace zoren::usage {

namespace {

using usage_analytics::PropertiesNode;
using usage_analytics::Sdk;

// No user property is a list, so nothing is ever appended.
enum class ProfileOperation { SetOnce, Increment, Set };

// Below this a time in milliseconds would lie in early 1975: it must be in seconds.
constexpr std::int64_t kSmallestMilliseconds = 157789440000;

const std::map<std::string, ProfileOperation>& UserPropertyTable() {
    static const std::map<std::string, ProfileOperation> table = [] {
        std::map<std::string, ProfileOperation> entries;
        for (const char* name : {"$first_visit_time", "zr_first_visit_date", "$ios_install_source",
                                 "zr_first_paid_date"}) {
            entries[name] = ProfileOperation::SetOnce;
        }
        for (const char* name : {"zr_visit_count", "zr_paid_count", "zr_consumption"}) {
            entries[name] = ProfileOperation::Increment;
        }
        for (const char* name : {"zr_label",
                                 "zr_os",
                                 "zr_os_version",
                                 "zr_manufacturer",
                                 "zr_model",
                                 "zr_app_store",
                                 "zr_app_platform",
                                 "zr_last_app_id",
                                 "zr_last_app_version",
                                 "zr_carrier",
                                 "zr_last_visit_date",
                                 "aurora_pushid",
                                 "zr_user_id",
                                 "zr_user_name",
                                 "zr_user_type",
                                 "zr_user_nickname",
                                 "zr_user_portrait",
                                 "zr_user_mobilephone",
                                 "zr_user_email",
                                 "zr_user_weixin",
                                 "zr_user_qq",
                                 "zr_user_did",
                                 "zr_user_created",
                                 "zr_user_last_login",
                                 "zr_user_last_ip",
                                 "zr_user_vip_level",
                                 "zr_user_vip_enddate",
                                 "idfa",
                                 "imei",
                                 "android_id",
                                 "oaid",
                                 "zr_ip",
                                 "zr_country_code",
                                 "zr_country",
                                 "zr_province",
                                 "zr_city",
                                 "zr_last_paid_date"}) {
            entries[name] = ProfileOperation::Set;
        }
        return entries;
    }();
    return table;
}

ProfileOperation OperationFor(const std::string& name, const char* caller) {
    const auto& table = UserPropertyTable();
    const auto it = table.find(name);
    if (it == table.end()) {
        ZR_RAISE(caller, "Not supported user property [" + name + "]!");
    }
    return it->second;
}

[[noreturn]] void RaiseKind(const char* caller, const std::string& name, const char* complaint) {
    ZR_RAISE(caller, "user property [" + name + "] " + complaint);
}

}  // namespace

void NativeUserTracker::userPropertyString(const std::string& name, const std::string& value) {
    switch (OperationFor(name, "userPropertyString")) {
        case ProfileOperation::SetOnce:
            Sdk::ProfileSetOnce(name, value);
            break;
        case ProfileOperation::Set:
            Sdk::ProfileSet(name, value);
            break;
        case ProfileOperation::Increment:
            RaiseKind("userPropertyString", name,
                      "is string type value, it cannot be accumulated!");
    }
}

void NativeUserTracker::userPropertyNumber(const std::string& name, std::int64_t value) {
    switch (OperationFor(name, "userPropertyNumber")) {
        case ProfileOperation::SetOnce:
            Sdk::ProfileSetOnce(name, value);
            break;
        case ProfileOperation::Increment:
            Sdk::ProfileIncrement(name, value);
            break;
        case ProfileOperation::Set:
            Sdk::ProfileSet(name, value);
            break;
    }
}

void NativeUserTracker::userPropertyNumber(const std::string& name, double value) {
    switch (OperationFor(name, "userPropertyNumber")) {
        case ProfileOperation::SetOnce:
            Sdk::ProfileSetOnce(name, value);
            break;
        case ProfileOperation::Increment: {
            PropertiesNode properties;
            properties.SetNumber(name, value);
            Sdk::ProfileIncrement(properties);
            break;
        }
        case ProfileOperation::Set:
            Sdk::ProfileSet(name, value);
            break;
    }
}

void NativeUserTracker::userPropertyDateTime(const std::string& name, std::int64_t time) {
    const std::int64_t milliseconds = time < kSmallestMilliseconds ? time * 1000 : time;
    PropertiesNode properties;
    properties.SetDateTime(name, milliseconds / 1000, static_cast<int>(milliseconds % 1000));
    switch (OperationFor(name, "userPropertyDateTime")) {
        case ProfileOperation::SetOnce:
            Sdk::ProfileSetOnce(properties);
            break;
        case ProfileOperation::Set:
            Sdk::ProfileSet(properties);
            break;
        case ProfileOperation::Increment:
            RaiseKind("userPropertyDateTime", name, "is boolean value, it cannot be accumulative!");
    }
}

int NativeUserTracker::activityProfile(const std::string& osVersion, const std::string& appStore,
                                       const std::string& appName, const std::string& appVersion) {
    const std::int64_t now = nowMilliseconds();
    userPropertyDateTime("$first_visit_time", now);
    userPropertyDateTime("zr_first_visit_date", now);
    userPropertyDateTime("zr_last_visit_date", now);
    userPropertyString("zr_os", "Windows");
    userPropertyString("zr_os_version", osVersion);
    userPropertyString("zr_app_store", appStore);
    userPropertyString("zr_app_platform", "Windows");
    userPropertyString("zr_last_app_id", appName);
    userPropertyString("zr_last_app_version", appVersion);
    userPropertyString("$ios_install_source", "android_id=123##imei=1234##mac=123");
    return 9;
}

int NativeUserTracker::launchProfile() {
    const std::int64_t now = nowMilliseconds();
    userPropertyDateTime("$first_visit_time", now);
    userPropertyDateTime("zr_first_visit_date", now);
    userPropertyDateTime("zr_last_visit_date", now);
    return 4;
}

int NativeUserTracker::paymentProfile(double paidAmount) {
    const std::int64_t now = nowMilliseconds();
    userPropertyNumber("zr_paid_count", std::int64_t{1});
    userPropertyNumber("zr_consumption", paidAmount);
    userPropertyDateTime("zr_first_paid_date", now);
    userPropertyDateTime("zr_last_paid_date", now);
    return 4;
}

std::int64_t NativeUserTracker::nowMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace zoren::usage
