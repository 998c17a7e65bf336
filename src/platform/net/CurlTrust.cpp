#include "platform/net/CurlTrust.h"

#include <curl/curl.h>

#include <cstdlib>

namespace net {

bool ApplyCurlTrust(void* easyHandle) {
    const char* bundle = std::getenv("QUILLON_CA_BUNDLE");
    if (bundle == nullptr || *bundle == '\0') {
        return true;
    }
    return curl_easy_setopt(static_cast<CURL*>(easyHandle), CURLOPT_CAINFO, bundle) == CURLE_OK;
}

}  // namespace net
