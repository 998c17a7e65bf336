#include "analytics/sdk/ObjectNode.h"

#include "analytics/sdk/JsonText.h"
#include "analytics/sdk/TextRules.h"

namespace usage_analytics::utils {

namespace {

constexpr std::size_t kMaxStringLength = 8192;

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};

void AppendValue(std::string& out, const ObjectNode::Value& value) {
    std::visit(Overloaded{
                   [&](double number) { out += FormatNumber(number); },
                   [&](std::int64_t integer) { out += std::to_string(integer); },
                   [&](const std::string& text) { AppendQuoted(out, text); },
                   [&](const ObjectNode::List& list) {
                       out += '[';
                       for (std::size_t i = 0; i < list.size(); ++i) {
                           if (i > 0) {
                               out += ',';
                           }
                           AppendQuoted(out, list[i]);
                       }
                       out += ']';
                   },
                   [&](const DateTime& time) {
                       out += '"';
                       out += FormatDateTime(time);
                       out += '"';
                   },
                   [&](bool flag) { out += flag ? "true" : "false"; },
                   [&](const ObjectNode::Object& object) { out += object->ToJson(); },
               },
               value);
}

}  // namespace

void ObjectNode::SetObject(const std::string& name, const ObjectNode& value) {
    // Only the entries are kept: a nested PropertiesNode keeps no behaviour of its own.
    auto copy = std::make_shared<ObjectNode>();
    copy->entries_ = value.entries_;
    entries_[name] = Object(std::move(copy));
}

bool ObjectNode::SetString(const std::string& name, const std::string& value) {
    if (value.size() > kMaxStringLength) {
        Complain("String property '" + name + "' is too long, value: " + value);
        return false;
    }
    if (!IsValidUtf8(value)) {
        Complain("String property '" + name + "' is not valid UTF-8 string, value: " + value);
        return false;
    }
    entries_[name] = value;
    return true;
}

void ObjectNode::SetNumber(const std::string& name, double value) {
    entries_[name] = value;
}

void ObjectNode::SetInteger(const std::string& name, std::int64_t value) {
    entries_[name] = value;
}

void ObjectNode::SetBool(const std::string& name, bool value) {
    entries_[name] = value;
}

void ObjectNode::SetDateTime(const std::string& name, std::int64_t seconds, int milliseconds) {
    entries_[name] = DateTime{seconds, milliseconds};
}

void ObjectNode::SetList(const std::string& name, const List& value) {
    entries_[name] = value;
}

void ObjectNode::Merge(const ObjectNode& other) {
    for (const auto& [name, value] : other.entries_) {
        if (const auto* object = std::get_if<Object>(&value)) {
            SetObject(name, **object);
        } else {
            entries_[name] = value;
        }
    }
}

const ObjectNode::Value* ObjectNode::Find(const std::string& name) const {
    const auto it = entries_.find(name);
    return it == entries_.end() ? nullptr : &it->second;
}

void ObjectNode::Remove(const std::string& name) {
    entries_.erase(name);
}

std::string ObjectNode::ToJson() const {
    std::string out = "{";
    bool first = true;
    for (const auto& [name, value] : entries_) {
        if (!first) {
            out += ',';
        }
        first = false;
        out += '"';
        out += name;
        out += "\":";
        AppendValue(out, value);
    }
    out += '}';
    return out;
}

}  // namespace usage_analytics::utils
