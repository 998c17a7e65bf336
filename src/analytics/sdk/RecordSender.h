// Posts one batch of serialized records to the collection service.
#pragma once

#include <string>

namespace usage_analytics {

class RecordSender {
  public:
    explicit RecordSender(std::string serverUrl) : serverUrl_(std::move(serverUrl)) {}

    // `batch` is the JSON array of records. True only when the service answered 200; the
    // outcome also becomes the last-delivery flag.
    bool Send(const std::string& batch);

  private:
    struct Response {
        long status;       // the HTTP status, or -1 when the transfer failed
        std::string body;  // the service's answer, or the transfer's error text
    };
    Response Post(const std::string& body) const;

    const std::string serverUrl_;
};

}  // namespace usage_analytics
