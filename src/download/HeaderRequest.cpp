#include "download/HeaderRequest.h"

#include "platform/net/CurlOptions.h"
#include "platform/net/CurlTrust.h"

namespace {

size_t DiscardBody(char*, size_t size, size_t count, void*) {
    return size * count;
}

}  // namespace

bool SetHeaderRequestOptions(CURL* handle, const std::string& url) {
    return net::CurlOptions(handle)
               .Set(CURLOPT_URL, url.c_str())
               .Set(CURLOPT_FOLLOWLOCATION, 1L)
               .Set(CURLOPT_NOBODY, 1L)
               .Set(CURLOPT_WRITEFUNCTION, DiscardBody)
               .Set(CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds)
               .Ok() &&
           net::ApplyCurlTrust(handle);
}

std::string EffectiveUrl(CURL* handle) {
    const char* effective = nullptr;
    if (curl_easy_getinfo(handle, CURLINFO_EFFECTIVE_URL, &effective) != CURLE_OK ||
        effective == nullptr) {
        return {};
    }
    return effective;
}
