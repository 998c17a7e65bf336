// What the header-only requests that resolve a package share, and the connection time limit
// of every package request.
#pragma once

#include <curl/curl.h>

#include <string>

constexpr long kConnectTimeoutSeconds = 60;

// The options of a header-only request of url that follows redirects and discards any body;
// false when one is refused.
bool SetHeaderRequestOptions(CURL* handle, const std::string& url);

// The effective address after redirects; empty when there is none.
std::string EffectiveUrl(CURL* handle);
