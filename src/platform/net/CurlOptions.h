// Sets libcurl options in order until one is refused, keeping the first refusal, so that a
// transfer is only performed when every option it relies on took effect.
#pragma once

#include <curl/curl.h>

namespace net {

class CurlOptions {
  public:
    explicit CurlOptions(CURL* handle) : handle_(handle) {}

    template <typename Value>
    CurlOptions& Set(CURLoption option, Value value) {
        if (result_ == CURLE_OK) {
            result_ = curl_easy_setopt(handle_, option, value);
        }
        return *this;
    }

    bool Ok() const { return result_ == CURLE_OK; }
    CURLcode Result() const { return result_; }

  private:
    CURL* handle_;
    CURLcode result_ = CURLE_OK;
};

}  // namespace net
