#include "analytics/sdk/RecordSender.h"

#include <curl/curl.h>

#include <memory>

#include "analytics/sdk/BatchEncoding.h"
#include "analytics/sdk/LastDelivery.h"
#include "analytics/sdk/TextRules.h"
#include "platform/DebugOutput.h"

namespace usage_analytics {

namespace {

constexpr long kTimeoutSeconds = 3;
constexpr char kUserAgent[] = "UsageAnalytics CPP SDK 0.9";

std::size_t CollectBody(char* data, std::size_t size, std::size_t count, void* user) {
    static_cast<std::string*>(user)->append(data, size * count);
    return size * count;
}

}  // namespace

bool RecordSender::Send(const std::string& batch) {
    std::string body;
    std::string error;
    if (!BuildBatchBody(batch, &body, &error)) {
        Complain(error);
        SetLastDeliverySucceeded(false);
        return false;
    }
    const Response response = Post(body);
    const bool succeeded = response.status == 200;
    if (!succeeded) {
        win32::OutputDebugStringW(L"[usage] UsageAnalytics SDK send failed");
        Complain("UsageAnalytics SDK send failed: " + response.body);
    }
    SetLastDeliverySucceeded(succeeded);
    return succeeded;
}

RecordSender::Response RecordSender::Post(const std::string& body) const {
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl) {
        Complain("Couldn't initialize curl handle");
        return {-1, "Couldn't initialize curl handle"};
    }
    std::string answer;
    char errorText[CURL_ERROR_SIZE] = "";
    CURL* handle = curl.get();
    curl_easy_setopt(handle, CURLOPT_URL, serverUrl_.c_str());
    curl_easy_setopt(handle, CURLOPT_POST, 1L);
    curl_easy_setopt(handle, CURLOPT_POSTFIELDS, body.data());
    curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    // The service is reached by address and may sit behind a certificate of its own.
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 0L);
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 0L);
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(handle, CURLOPT_TIMEOUT, kTimeoutSeconds);
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_USERAGENT, kUserAgent);
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &CollectBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &answer);
    curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, errorText);
    const CURLcode result = curl_easy_perform(handle);
    if (result != CURLE_OK) {
        return {-1, errorText[0] != '\0' ? errorText : curl_easy_strerror(result)};
    }
    long status = 0;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
    return {status, answer};
}

}  // namespace usage_analytics
