// Extra named values an application attaches to chosen event types for one tracking call
// (the A/B group), and the text rules of the tracker's fields.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zoren::usage {

// Index into the per-event lists of ZrContextProperties.
enum ZrEventType {
    kEventActivity = 0,
    kEventLaunch = 1,
    kEventLogin = 2,
    kEventClick = 3,
    kEventView = 4,
    kEventCashier = 5,
    kEventShare = 6,
    kEventTask = 7,
    kEventFile = 8,
    kEventOrder = 9,
    kEventPayment = 10,
    kEventUninstall = 11,
    kEventUpdate = 12,
    kEventCrash = 13,
    kEventAppOpenNotification = 14,
};
constexpr int kEventTypeCount = 15;

class ZrContextProperties {
  public:
    enum class ValueKind { String };
    struct Entry {
        ValueKind kind;
        std::shared_ptr<const std::string> value;
        std::string name;
    };

    // Registers the A/B value as "zrc_ab" for each listed event type, in order. A second
    // registration, or a code of 15 or more, raises a ZrException (earlier codes stay added).
    void setProperty(const std::string& value, const std::vector<int>& eventTypes);

    // The entries registered for the event type; a code of 15 or more raises a ZrException.
    const std::vector<Entry>& getEventProperties(int eventType) const;

  private:
    std::map<std::string, std::shared_ptr<const std::string>> registered_;
    std::array<std::vector<Entry>, kEventTypeCount> events_;
};

// One to three characters: an upper-case letter, then upper-case letters or digits. False for
// an empty value; a ZrException names what is wrong with any other invalid value.
bool isValidABValue(const std::string& value);

// Valid UTF-8 stays as it is; anything else is taken as the system code page (or, where
// that is UTF-8 itself, as GBK) and converted.
std::string ensureUtf8(const std::string& text);

}  // namespace zoren::usage
