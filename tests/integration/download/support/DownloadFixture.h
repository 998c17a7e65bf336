// A temporary folder with a package folder served by the fault server, and a helper that runs
// one downloader the way the setup drives it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "download/Downloader.h"
#include "integration/download/support/PackageFiles.h"
#include "integration/download/support/ServerProcess.h"
#include "integration/download/support/StatusRecorder.h"

namespace DownloadTest {

constexpr int kCurlType = 1;
constexpr int kWinType = 2;
constexpr int kMTCurlType = 3;

class DownloadFixture : public ::testing::Test {
  protected:
    void SetUp() override;

    // Writes www/<name> and returns its MD5.
    std::string Publish(const std::string& name, std::int64_t size);

    FaultServer& Server();  // started on first use, serving www/
    std::string ServerLog() { return ReadText(folder_.Path() + "/requests.log"); }

    // The trace lines written since the test began, and how often text occurs in them.
    std::string TraceSinceSetUp() const;
    int TraceCount(const std::string& text) const;

    // Creates the downloader, starts it, restarts it after 1005 and waits for 1003 or 1004.
    void Run(int type, const std::string& url);
    void Create(int type, const std::string& url);

    std::string www_;
    std::string destination_;
    StatusRecorder recorder_;
    std::unique_ptr<CDownloader> downloader_;  // destroyed before the recorder

  private:
    TempFolder folder_;
    std::unique_ptr<FaultServer> server_;
    std::size_t traceStart_ = 0;

  protected:
    const std::string& Folder() const { return folder_.Path(); }
};

// A readable name for a row of a table of downloader types.
std::string TypeName(const ::testing::TestParamInfo<int>& info);

}  // namespace DownloadTest
