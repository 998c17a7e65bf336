#include "CollectServer.h"

#include <curl/curl.h>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace analytics_test {

namespace {

std::size_t Collect(char* data, std::size_t size, std::size_t count, void* user) {
    static_cast<std::string*>(user)->append(data, size * count);
    return size * count;
}

}  // namespace

CollectServer::CollectServer(bool tls) {
    const std::string command =
        std::string("python3 ") + COLLECT_SERVER_SCRIPT + (tls ? " --tls" : "");
    process_ = popen(command.c_str(), "r");
    if (!process_) {
        throw std::runtime_error("cannot start " + command);
    }
    char line[64] = "";
    int port = 0;
    if (!std::fgets(line, sizeof line, process_) || std::sscanf(line, "PORT %d", &port) != 1) {
        pclose(process_);
        throw std::runtime_error("the collection server did not start");
    }
    base_ = std::string(tls ? "https" : "http") + "://127.0.0.1:" + std::to_string(port);
}

CollectServer::~CollectServer() {
    const std::string none;
    try {
        Request("/_quit", &none);
    } catch (const std::exception&) {
        // The server stops by itself when idle.
    }
    pclose(process_);
}

std::string CollectServer::Url() const {
    return base_ + "/sa?project=pc";
}

void CollectServer::Control(const nlohmann::json& settings) {
    const std::string body = settings.dump();
    Request("/_control", &body);
}

void CollectServer::Release() {
    const std::string none;
    Request("/_release", &none);
}

int CollectServer::Arrived() {
    return std::stoi(Request("/_arrived", nullptr));
}

nlohmann::json CollectServer::Batches() {
    nlohmann::json reply = nlohmann::json::parse(Request("/_batches", nullptr));
    EXPECT_TRUE(reply["errors"].empty()) << reply["errors"].dump();
    return reply["batches"];
}

nlohmann::json CollectServer::Records() {
    nlohmann::json records = nlohmann::json::array();
    for (const auto& batch : Batches()) {
        if (batch["status"] == 200) {
            for (const auto& record : batch["records"]) {
                records.push_back(record);
            }
        }
    }
    return records;
}

std::string CollectServer::Request(const std::string& path, const std::string* body) {
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
    std::string answer;
    const std::string url = base_ + path;
    curl_easy_setopt(curl.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl.get(), CURLOPT_SSL_VERIFYPEER, 0L);
    curl_easy_setopt(curl.get(), CURLOPT_SSL_VERIFYHOST, 0L);
    curl_easy_setopt(curl.get(), CURLOPT_TIMEOUT, 10L);
    curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, &Collect);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &answer);
    if (body) {
        curl_easy_setopt(curl.get(), CURLOPT_POSTFIELDS, body->c_str());
    }
    const CURLcode result = curl_easy_perform(curl.get());
    if (result != CURLE_OK) {
        throw std::runtime_error(std::string("control request failed: ") +
                                 curl_easy_strerror(result));
    }
    return answer;
}

}  // namespace analytics_test
