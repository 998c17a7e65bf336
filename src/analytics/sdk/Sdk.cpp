#include "analytics/sdk/Sdk.h"

#include <chrono>
#include <cstdlib>
#include <memory>
#include <mutex>

#include "analytics/sdk/RecordQueue.h"
#include "analytics/sdk/TextRules.h"

namespace usage_analytics {

namespace {

constexpr char kLibName[] = "cpp";
constexpr char kLibVersion[] = "0.9";

std::int64_t NowMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::string LastDigits(std::int64_t value, std::size_t count) {
    const std::string text = std::to_string(value);
    return text.size() > count ? text.substr(text.size() - count) : text;
}

std::string PaddedLastDigits(std::int64_t value, std::size_t count) {
    std::string text = LastDigits(value, count);
    return std::string(count - text.size(), '0') + text;
}

// Lets the service tell apart records made in the same millisecond.
std::int64_t NewTrackId() {
    const std::string digits = LastDigits(std::rand() % 99 + 100, 2) +
                               LastDigits(std::rand() % 999 + 1000, 3) +
                               PaddedLastDigits(NowMilliseconds(), 4);
    return std::stoll(digits);
}

// The record types; "track" and "track_signup" records also carry the super properties.
enum class Action {
    Track,
    TrackSignup,
    ProfileSet,
    ProfileSetOnce,
    ProfileIncrement,
    ProfileAppend
};

const char* ActionName(Action action) {
    switch (action) {
        case Action::Track:
            return "track";
        case Action::TrackSignup:
            return "track_signup";
        case Action::ProfileSet:
            return "profile_set";
        case Action::ProfileSetOnce:
            return "profile_set_once";
        case Action::ProfileIncrement:
            return "profile_increment";
        case Action::ProfileAppend:
            return "profile_append";
    }
    return "";
}

bool CheckProperties(const PropertiesNode& properties) {
    for (const auto& [name, value] : properties.Entries()) {
        std::string complaint = CheckName(name, "Property Key");
        if (complaint.empty() && name == "$time" &&
            !std::holds_alternative<utils::DateTime>(value)) {
            complaint = "The property '$time' should be DateTime type.";
        }
        if (complaint.empty() && name == "$project" &&
            !std::holds_alternative<std::string>(value)) {
            complaint = "The property '$project' should be String type.";
        }
        if (!complaint.empty()) {
            Complain(complaint);
            return false;
        }
    }
    return true;
}

class Instance {
  public:
    Instance(const std::string& dataFilePath, const std::string& serverUrl,
             const std::string& distinctId, bool isLoginId)
        : queue_(dataFilePath, serverUrl), distinctId_(distinctId), isLoginId_(isLoginId) {
        superProperties_.SetString("$lib", kLibName);
        superProperties_.SetString("$lib_version", kLibVersion);
    }

    void AddRecord(Action action, const std::string& eventName, const PropertiesNode& given,
                   const std::string& distinctId, const std::string& originalId);
    void AddRecord(Action action, const std::string& eventName, const PropertiesNode& given) {
        AddRecord(action, eventName, given, DistinctId(), {});
    }

    void TrackSignup(const std::string& loginId) {
        AddRecord(Action::TrackSignup, "$SignUp", PropertiesNode(), loginId, DistinctId());
        Identify(loginId, true);
    }

    void RegisterSuperProperties(const PropertiesNode& properties) {
        std::lock_guard<std::mutex> guard(identityLock_);
        superProperties_.Merge(properties);
    }

    void Identify(const std::string& distinctId, bool isLoginId) {
        std::lock_guard<std::mutex> guard(identityLock_);
        distinctId_ = distinctId;
        isLoginId_ = isLoginId;
    }

    std::string DistinctId() {
        std::lock_guard<std::mutex> guard(identityLock_);
        return distinctId_;
    }

    RecordQueue& Queue() { return queue_; }

  private:
    RecordQueue queue_;
    std::mutex identityLock_;
    PropertiesNode superProperties_;  // guarded by identityLock_
    std::string distinctId_;          // guarded by identityLock_
    bool isLoginId_;                  // guarded by identityLock_
};

void Instance::AddRecord(Action action, const std::string& eventName, const PropertiesNode& given,
                         const std::string& distinctId, const std::string& originalId) {
    if (!CheckProperties(given)) {
        return;
    }
    std::string complaint;
    if (action == Action::Track) {
        complaint = CheckName(eventName, "Event Name");
    } else if (action == Action::TrackSignup) {
        complaint = CheckIdentifier(originalId, "Original ID");
    }
    if (!complaint.empty()) {
        Complain(complaint);
        return;
    }

    const bool isEvent = action == Action::Track || action == Action::TrackSignup;
    PropertiesNode properties;
    bool isLoginId = false;
    {
        std::lock_guard<std::mutex> guard(identityLock_);
        if (isEvent) {
            properties.Merge(superProperties_);
        }
        isLoginId = isLoginId_;
    }
    properties.Merge(given);

    std::int64_t time = NowMilliseconds();
    if (const auto* value = properties.Find("$time")) {
        const auto& stamp = std::get<utils::DateTime>(*value);
        time = stamp.seconds * 1000 + stamp.milliseconds;
        properties.Remove("$time");
    }
    std::string project;
    if (const auto* value = properties.Find("$project")) {
        project = std::get<std::string>(*value);
        properties.Remove("$project");
    }
    if (isLoginId) {
        properties.SetBool("$is_login_id", true);
    }

    utils::ObjectNode lib;
    lib.SetString("$lib", kLibName);
    lib.SetString("$lib_version", kLibVersion);
    lib.SetString("$lib_method", "code");

    utils::ObjectNode record;
    record.SetString("type", ActionName(action));
    record.SetInteger("time", time);
    record.SetString("distinct_id", distinctId);
    record.SetObject("properties", properties);
    record.SetObject("lib", lib);
    record.SetInteger("_track_id", NewTrackId());
    if (!project.empty()) {
        record.SetString("project", project);
    }
    if (isEvent) {
        record.SetString("event", eventName);
    }
    if (action == Action::TrackSignup) {
        record.SetString("original_id", originalId);
    }
    queue_.Add(record.ToJson());
}

std::mutex& InstanceLock() {
    static std::mutex lock;
    return lock;
}

// Each operation holds its own reference, so a flush on another thread keeps the instance
// (and its queue) alive until it is done, even across Shutdown.
std::shared_ptr<Instance> instance;  // guarded by InstanceLock()

// How deep the calling thread is inside the SDK. A crash report made while the crashing
// thread holds one of the SDK's locks would wait for itself for ever.
thread_local int useDepth = 0;

class ThreadUse {
  public:
    ThreadUse() { ++useDepth; }
    ~ThreadUse() { --useDepth; }
    ThreadUse(const ThreadUse&) = delete;
    ThreadUse& operator=(const ThreadUse&) = delete;
};

// The instance for one operation, which counts as the thread's use of the SDK until it ends.
class InstanceUse {
  public:
    InstanceUse() {
        std::lock_guard<std::mutex> guard(InstanceLock());
        instance_ = instance;
    }
    explicit operator bool() const { return instance_ != nullptr; }
    Instance* operator->() const { return instance_.get(); }

  private:
    ThreadUse use_;
    std::shared_ptr<Instance> instance_;
};

InstanceUse CurrentInstance() {
    return InstanceUse();
}

template <class Value>
void AddProfile(Action action, const std::string& name, const Value& value) {
    if (auto sdk = CurrentInstance()) {
        PropertiesNode properties;
        if constexpr (std::is_same_v<Value, std::string>) {
            properties.SetString(name, value);
        } else if constexpr (std::is_same_v<Value, double>) {
            properties.SetNumber(name, value);
        } else if constexpr (std::is_same_v<Value, utils::ObjectNode::List>) {
            properties.SetList(name, value);
        } else {
            properties.SetInteger(name, value);
        }
        sdk->AddRecord(action, {}, properties);
    }
}

void AddProfile(Action action, const PropertiesNode& properties) {
    if (auto sdk = CurrentInstance()) {
        sdk->AddRecord(action, {}, properties);
    }
}

}  // namespace

bool Sdk::Init(const std::string& dataFilePath, const std::string& serverUrl,
               const std::string& distinctId, bool isLoginId) {
    const std::string complaint = CheckIdentifier(distinctId, "Distinct ID");
    if (!complaint.empty()) {
        Complain(complaint);
        return false;
    }
    ThreadUse use;
    std::lock_guard<std::mutex> guard(InstanceLock());
    if (!instance) {
        instance = std::make_shared<Instance>(dataFilePath, serverUrl, distinctId, isLoginId);
        std::srand(static_cast<unsigned>(NowMilliseconds()));
    }
    return true;
}

void Sdk::Shutdown() {
    ThreadUse use;
    std::shared_ptr<Instance> closing;
    {
        std::lock_guard<std::mutex> guard(InstanceLock());
        closing.swap(instance);
    }
}

void Sdk::Track(const std::string& eventName, const PropertiesNode& properties) {
    if (auto sdk = CurrentInstance()) {
        sdk->AddRecord(Action::Track, eventName, properties);
    }
}

void Sdk::TrackInstallation(const std::string& eventName, const PropertiesNode& properties) {
    PropertiesNode withSource;
    withSource.SetString("$ios_install_source", "");
    withSource.Merge(properties);
    Track(eventName, withSource);
}

void Sdk::TrackSignup(const std::string& loginId) {
    if (auto sdk = CurrentInstance()) {
        sdk->TrackSignup(loginId);
    }
}

void Sdk::ProfileSet(const PropertiesNode& properties) {
    AddProfile(Action::ProfileSet, properties);
}
void Sdk::ProfileSet(const std::string& name, const std::string& value) {
    AddProfile(Action::ProfileSet, name, value);
}
void Sdk::ProfileSet(const std::string& name, std::int64_t value) {
    AddProfile(Action::ProfileSet, name, value);
}
void Sdk::ProfileSet(const std::string& name, double value) {
    AddProfile(Action::ProfileSet, name, value);
}
void Sdk::ProfileSetOnce(const PropertiesNode& properties) {
    AddProfile(Action::ProfileSetOnce, properties);
}
void Sdk::ProfileSetOnce(const std::string& name, const std::string& value) {
    AddProfile(Action::ProfileSetOnce, name, value);
}
void Sdk::ProfileSetOnce(const std::string& name, std::int64_t value) {
    AddProfile(Action::ProfileSetOnce, name, value);
}
void Sdk::ProfileSetOnce(const std::string& name, double value) {
    AddProfile(Action::ProfileSetOnce, name, value);
}
void Sdk::ProfileIncrement(const PropertiesNode& properties) {
    AddProfile(Action::ProfileIncrement, properties);
}
void Sdk::ProfileIncrement(const std::string& name, std::int64_t value) {
    AddProfile(Action::ProfileIncrement, name, value);
}
void Sdk::ProfileAppend(const std::string& name, const std::string& value) {
    AddProfile(Action::ProfileAppend, name, utils::ObjectNode::List{value});
}

bool Sdk::FlushAll() {
    auto sdk = CurrentInstance();
    return sdk && sdk->Queue().FlushAll();
}

void Sdk::RegisterSuperProperties(const PropertiesNode& properties) {
    if (auto sdk = CurrentInstance()) {
        sdk->RegisterSuperProperties(properties);
    }
}

bool Sdk::InUseByThisThread() {
    return useDepth > 0;
}

std::size_t Sdk::QueuedRecordCount() {
    auto sdk = CurrentInstance();
    return sdk ? sdk->Queue().Size() : 0;
}

}  // namespace usage_analytics
