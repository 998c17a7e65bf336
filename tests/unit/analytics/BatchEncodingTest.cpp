#include "analytics/sdk/BatchEncoding.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace usage_analytics {
namespace {

std::string Gunzip(const std::string& compressed) {
    z_stream stream{};
    EXPECT_EQ(inflateInit2(&stream, 15 + 16), Z_OK);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    stream.avail_in = static_cast<uInt>(compressed.size());
    std::string out;
    char chunk[4096];
    int result = Z_OK;
    do {
        stream.next_out = reinterpret_cast<Bytef*>(chunk);
        stream.avail_out = sizeof chunk;
        result = inflate(&stream, Z_NO_FLUSH);
        out.append(chunk, sizeof chunk - stream.avail_out);
    } while (result == Z_OK);
    EXPECT_EQ(result, Z_STREAM_END);
    inflateEnd(&stream);
    return out;
}

TEST(BatchEncodingTest, Base64FollowsTheStandardAlphabetWithPadding) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},        {"f", "Zg=="},          {"fo", "Zm8="},
        {"foo", "Zm9v"}, {"foobar", "Zm9vYmFy"}, {"\xFB\xFF\xBF", "+/+/"},
    };
    for (const auto& [data, encoded] : cases) {
        EXPECT_EQ(Base64Encode(data), encoded);
    }
    EXPECT_EQ(Base64Encode(std::string(200, 'x')).find('\n'), std::string::npos);
}

TEST(BatchEncodingTest, UrlEncodingKeepsOnlyTheUnreservedSet) {
    std::string every;
    for (int byte = 0; byte < 256; ++byte) {
        every += static_cast<char>(byte);
    }
    const std::string encoded = UrlEncode(every);
    std::string expected;
    for (int byte = 0; byte < 256; ++byte) {
        const bool kept =
            std::isalnum(byte) || byte == '-' || byte == '.' || byte == '_' || byte == '~';
        if (kept) {
            expected += static_cast<char>(byte);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            expected += escaped;
        }
    }
    EXPECT_EQ(encoded, expected);
    EXPECT_EQ(UrlEncode(""), "");
}

TEST(BatchEncodingTest, GzipAtLevel9RoundTrips) {
    const std::string batch = "[" + std::string(100000, 'a') + "\xE5\xAE\x89]";
    std::string compressed;
    std::string error;
    ASSERT_TRUE(GzipCompress(batch, &compressed, &error)) << error;
    ASSERT_GT(compressed.size(), 10u);
    EXPECT_EQ(static_cast<unsigned char>(compressed[0]), 0x1F);
    EXPECT_EQ(static_cast<unsigned char>(compressed[1]), 0x8B);
    EXPECT_EQ(compressed[8], 2) << "the header's flag for the slowest compression";
    EXPECT_EQ(Gunzip(compressed), batch);
}

TEST(BatchEncodingTest, BodyWrapsTheEncodedBatch) {
    std::string body;
    std::string error;
    ASSERT_TRUE(BuildBatchBody("[]", &body, &error));
    ASSERT_EQ(body.rfind("data_list=", 0), 0u);
    ASSERT_EQ(body.substr(body.size() - 7), "&gzip=1");
    const std::string encoded = body.substr(10, body.size() - 17);
    EXPECT_EQ(encoded.find_first_not_of(
                  "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789%-._~"),
              std::string::npos);
}

}  // namespace
}  // namespace usage_analytics
