#include "download/BodyRequest.h"

#include "download/HeaderRequest.h"
#include "platform/net/CurlOptions.h"
#include "platform/net/CurlTrust.h"

CURLcode SetBodyRequestOptions(CURL* handle, const std::string& url, curl_write_callback write,
                               void* writeData, curl_xferinfo_callback progress,
                               void* progressData) {
    const CURLcode result = net::CurlOptions(handle)
                                .Set(CURLOPT_URL, url.c_str())
                                .Set(CURLOPT_FOLLOWLOCATION, 1L)
                                .Set(CURLOPT_WRITEFUNCTION, write)
                                .Set(CURLOPT_WRITEDATA, writeData)
                                .Set(CURLOPT_NOPROGRESS, 0L)
                                .Set(CURLOPT_XFERINFOFUNCTION, progress)
                                .Set(CURLOPT_XFERINFODATA, progressData)
                                .Set(CURLOPT_FAILONERROR, 1L)
                                .Set(CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds)
                                .Result();
    if (result == CURLE_OK && !net::ApplyCurlTrust(handle)) {
        return CURLE_SSL_CACERT_BADFILE;
    }
    return result;
}
