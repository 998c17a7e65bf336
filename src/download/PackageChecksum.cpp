#include "download/PackageChecksum.h"

#include "utils/TextConversion.h"

namespace {
constexpr std::size_t kMd5Length = 32;
}

std::string ExpectedChecksum(const std::string& resolvedUrl) {
    const std::size_t last = resolvedUrl.rfind('/');
    if (last == std::string::npos || last == 0) {
        return {};
    }
    const std::size_t previous = resolvedUrl.rfind('/', last - 1);
    if (previous == std::string::npos) {
        return {};
    }
    return resolvedUrl.substr(previous + 1, last - previous - 1);
}

ChecksumVerdict VerifyPackageChecksum(const std::string& resolvedUrl, const std::wstring& file) {
    const std::string expected = ExpectedChecksum(resolvedUrl);
    if (expected.size() != kMd5Length) {
        return ChecksumVerdict::Unavailable;
    }
    const std::string actual = Utils::ToUtf8(Utils::FileMd5(file));
    if (actual.size() != kMd5Length || actual == expected) {
        return ChecksumVerdict::Matches;
    }
    return ChecksumVerdict::Differs;
}
