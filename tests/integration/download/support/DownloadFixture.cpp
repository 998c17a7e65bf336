#include "integration/download/support/DownloadFixture.h"

#include <curl/curl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "utils/TextConversion.h"

namespace DownloadTest {

namespace {

// The trace channel reads its target once, at the first line: the file is named before main.
const std::string kTracePath = [] {
    std::string path = "/tmp/quillon-download-trace-" + std::to_string(getpid()) + ".log";
    setenv("QUILLON_TRACE", path.c_str(), 1);
    return path;
}();

// libcurl's global state is set up once, as the installer's start sequence does.
class CurlEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { curl_global_init(CURL_GLOBAL_DEFAULT); }
    void TearDown() override {
        curl_global_cleanup();
        std::remove(kTracePath.c_str());
    }
};

const auto* const kCurlEnvironment = ::testing::AddGlobalTestEnvironment(new CurlEnvironment);

}  // namespace

void DownloadFixture::SetUp() {
    www_ = folder_.Path() + "/www";
    mkdir(www_.c_str(), 0755);
    mkdir((folder_.Path() + "/target").c_str(), 0755);
    destination_ = folder_.Path() + "/target/__Package_Quillon.exe";
    traceStart_ = ReadText(kTracePath).size();
}

std::string DownloadFixture::TraceSinceSetUp() const {
    return ReadText(kTracePath).substr(traceStart_);
}

int DownloadFixture::TraceCount(const std::string& text) const {
    const std::string trace = TraceSinceSetUp();
    int count = 0;
    for (std::size_t at = trace.find(text); at != std::string::npos;
         at = trace.find(text, at + text.size())) {
        ++count;
    }
    return count;
}

std::string DownloadFixture::Publish(const std::string& name, std::int64_t size) {
    MakePackage(www_ + "/" + name, size);
    return Md5Of(www_ + "/" + name);
}

FaultServer& DownloadFixture::Server() {
    if (!server_) {
        server_ = std::make_unique<FaultServer>(
            FaultServerOptions{www_, folder_.Path() + "/requests.log", "", ""});
    }
    return *server_;
}

void DownloadFixture::Create(int type, const std::string& url) {
    downloader_ = CreateDownloader(type, recorder_.Callback(), Utils::FromUtf8(url).c_str(),
                                   Utils::FromUtf8(destination_).c_str());
    recorder_.RestartOnRetry(downloader_.get());
}

void DownloadFixture::Run(int type, const std::string& url) {
    Create(type, url);
    downloader_->Start();
    ASSERT_TRUE(recorder_.WaitForEnd()) << "no 1003 or 1004 from " << url;
    downloader_.reset();
    EXPECT_EQ(AttemptShapeProblem(recorder_.Reports()), "");
}

std::string TypeName(const ::testing::TestParamInfo<int>& info) {
    switch (info.param) {
        case kWinType:
            return "WinDownloader";
        case kMTCurlType:
            return "MTCurlDownloader";
        default:
            return "CurlDownloader";
    }
}

}  // namespace DownloadTest
