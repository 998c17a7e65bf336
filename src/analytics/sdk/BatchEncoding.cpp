#include "analytics/sdk/BatchEncoding.h"

#include <curl/curl.h>
#include <openssl/evp.h>
#include <zlib.h>

#include <memory>
#include <vector>

namespace usage_analytics {

namespace {

constexpr int kGzipWindowBits = 15 + 16;
constexpr int kMemoryLevel = 8;
constexpr std::size_t kChunkSize = 32768;

}  // namespace

bool GzipCompress(const std::string& data, std::string* compressed, std::string* error) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, kGzipWindowBits, kMemoryLevel,
                     Z_DEFAULT_STRATEGY) != Z_OK) {
        *error = "deflateInit2 failed while compressing.";
        return false;
    }
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    compressed->clear();
    std::vector<char> chunk(kChunkSize);
    int result = Z_OK;
    do {
        stream.next_out = reinterpret_cast<Bytef*>(chunk.data());
        stream.avail_out = static_cast<uInt>(chunk.size());
        result = deflate(&stream, Z_FINISH);
        compressed->append(chunk.data(), chunk.size() - stream.avail_out);
    } while (result == Z_OK);
    if (result != Z_STREAM_END) {
        *error = "Exception during zlib compression: (" + std::to_string(result) + ") " +
                 (stream.msg ? stream.msg : "");
        deflateEnd(&stream);
        return false;
    }
    deflateEnd(&stream);
    return true;
}

std::string Base64Encode(const std::string& data) {
    std::string encoded(4 * ((data.size() + 2) / 3), '\0');
    const int length = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(encoded.data()),
                                       reinterpret_cast<const unsigned char*>(data.data()),
                                       static_cast<int>(data.size()));
    encoded.resize(static_cast<std::size_t>(length));
    return encoded;
}

std::string UrlEncode(const std::string& data) {
    if (data.empty()) {
        return {};  // curl would take a length of 0 as "up to the terminating zero"
    }
    // curl's escaping keeps exactly the unreserved set and writes upper-case digits.
    std::unique_ptr<char, decltype(&curl_free)> escaped(
        curl_easy_escape(nullptr, data.data(), static_cast<int>(data.size())), &curl_free);
    return escaped ? std::string(escaped.get()) : std::string();
}

bool BuildBatchBody(const std::string& batch, std::string* body, std::string* error) {
    std::string compressed;
    if (!GzipCompress(batch, &compressed, error)) {
        return false;
    }
    *body = "data_list=" + UrlEncode(Base64Encode(compressed)) + "&gzip=1";
    return true;
}

}  // namespace usage_analytics
