// One run of the tracker in a process of its own, so that a test can place "Set.ini" beside
// it. Usage: analytics_identity_probe SERVER_URL; prints "primary=<id>".
#include <cstdio>

#include "analytics/tracker/UsageTracker.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: analytics_identity_probe SERVER_URL\n");
        return 2;
    }
    zoren::usage::ZrTrackerConfig config;
    config.appName = "Quillon.downloader";
    config.appVersion = "1.7.9";
    config.appStore = "probe";
    config.serverUrl = argv[1];
    zoren::usage::createTracker(config);
    std::printf("primary=%s\n", zoren::usage::sharedTracker()->getPrimaryDistinctId().c_str());
    zoren::usage::releaseTracker();
    return 0;
}
