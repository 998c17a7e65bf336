// The demo's package server, started on 127.0.0.1 for one test and stopped with the object.
#pragma once

#include <string>

#include "integration/download/support/ServerProcess.h"

namespace SetupTest {

class PackageServer : public DownloadTest::ServerProcess {
  public:
    // Serves package (padded to the downloader's minimum size) from a copy in workdir; with
    // corruptFirstGet the first download of it arrives damaged.
    PackageServer(const std::string& package, const std::string& workdir, bool corruptFirstGet);

    // The published address, which redirects to the one that carries the checksum.
    std::string LatestUrl() const;
};

}  // namespace SetupTest
