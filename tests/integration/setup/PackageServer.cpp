#include "integration/setup/PackageServer.h"

#include <vector>

namespace SetupTest {

PackageServer::PackageServer(const std::string& package, const std::string& workdir,
                             bool corruptFirstGet) {
    std::vector<std::string> args = {
        "python3", QUILLON_PACKAGE_SERVER, "--package", package, "--workdir",
        workdir,   "--exit-on-stdin-eof"};
    if (corruptFirstGet) {
        args.push_back("--corrupt-first-get");
    }
    SpawnAnnouncingPort(args);
}

std::string PackageServer::LatestUrl() const {
    return "http://127.0.0.1:" + std::to_string(Port()) + "/quillon/latest";
}

}  // namespace SetupTest
