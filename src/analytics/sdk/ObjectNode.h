// Property objects: named values kept in ascending byte order of the names, which is also
// the order in which they are serialized.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace usage_analytics::utils {

struct DateTime {
    std::int64_t seconds = 0;  // since 1970-01-01 UTC
    int milliseconds = 0;      // 0-999
};

class ObjectNode {
  public:
    using List = std::vector<std::string>;
    using Object = std::shared_ptr<const ObjectNode>;
    using Value = std::variant<double, std::int64_t, std::string, List, DateTime, bool, Object>;

    virtual ~ObjectNode() = default;

    // Nests a copy of the object under the name.
    virtual void SetObject(const std::string& name, const ObjectNode& value);

    // The only validating setter: a value over 8192 bytes or not well-formed UTF-8 leaves the
    // name as it was, with a complaint on the standard error stream. Returns whether it was set.
    bool SetString(const std::string& name, const std::string& value);
    void SetNumber(const std::string& name, double value);
    void SetInteger(const std::string& name, std::int64_t value);
    void SetBool(const std::string& name, bool value);
    void SetDateTime(const std::string& name, std::int64_t seconds, int milliseconds);
    void SetList(const std::string& name, const List& value);

    // Copies every entry of the other object in, replacing equal names.
    void Merge(const ObjectNode& other);

    const Value* Find(const std::string& name) const;
    void Remove(const std::string& name);
    const std::map<std::string, Value>& Entries() const { return entries_; }

    // {"name":value,...} without any blank.
    std::string ToJson() const;

  private:
    std::map<std::string, Value> entries_;
};

}  // namespace usage_analytics::utils

namespace usage_analytics {

// The property set of an event and of the SDK itself: it never holds a nested object.
class PropertiesNode : public utils::ObjectNode {
  public:
    void SetObject(const std::string& name, const ObjectNode& value) override {}
};

}  // namespace usage_analytics
