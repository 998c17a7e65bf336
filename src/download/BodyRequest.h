// What the requests that fetch a package's bytes share.
#pragma once

#include <curl/curl.h>

#include <string>

// The options of a request of url's body that follows redirects, hands the body to write with
// writeData, reports progress to progress with progressData and fails on an HTTP error status.
// The first refused option's code; CURLE_SSL_CACERT_BADFILE when the trusted certificates could
// not be applied.
CURLcode SetBodyRequestOptions(CURL* handle, const std::string& url, curl_write_callback write,
                               void* writeData, curl_xferinfo_callback progress,
                               void* progressData);
