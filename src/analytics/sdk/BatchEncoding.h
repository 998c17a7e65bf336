// The three layers a batch wears on the wire: gzip, Base64, then URL encoding.
#pragma once

#include <string>

namespace usage_analytics {

// zlib's deflate at level 9 with the gzip wrapper. On failure returns false and says why.
bool GzipCompress(const std::string& data, std::string* compressed, std::string* error);

// Standard alphabet with "=" padding, no line breaks.
std::string Base64Encode(const std::string& data);

// Letters, digits, "-", ".", "_" and "~" stay; every other byte becomes %XX (upper case).
std::string UrlEncode(const std::string& data);

// "data_list=" + the encoded batch + "&gzip=1".
bool BuildBatchBody(const std::string& batch, std::string* body, std::string* error);

}  // namespace usage_analytics
