#include "integration/download/support/PackageFiles.h"

#include <openssl/evp.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

namespace DownloadTest {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillon-dl-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

void MakePackage(const std::string& path, std::int64_t size) {
    std::mt19937_64 random(static_cast<std::uint64_t>(size));
    std::vector<std::uint64_t> block(8192);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    for (std::int64_t left = size; left > 0;) {
        for (auto& word : block) {
            word = random();
        }
        const std::int64_t take = std::min<std::int64_t>(left, block.size() * sizeof(block[0]));
        std::fwrite(block.data(), 1, static_cast<size_t>(take), file);
        left -= take;
    }
    std::fclose(file);
}

std::string Md5Of(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return {};
    }
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    EVP_DigestInit_ex(context, EVP_md5(), nullptr);
    std::vector<char> block(1 << 16);
    while (file.read(block.data(), block.size()) || file.gcount() > 0) {
        EVP_DigestUpdate(context, block.data(), static_cast<size_t>(file.gcount()));
    }
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_DigestFinal_ex(context, digest, &length);
    EVP_MD_CTX_free(context);
    std::string hex;
    char byte[3];
    for (unsigned int i = 0; i < length; ++i) {
        std::snprintf(byte, sizeof byte, "%02x", digest[i]);
        hex += byte;
    }
    return hex;
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

std::int64_t FileSize(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? info.st_size : -1;
}

std::string ReadText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace DownloadTest
