#include "download/DownloadPartNode.h"

DownloadPartNode::~DownloadPartNode() {
    if (handle != nullptr) {
        curl_easy_cleanup(handle);
    }
    if (file != nullptr) {
        std::fclose(file);
    }
}
