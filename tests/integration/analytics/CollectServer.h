// The test collection service (collect_server.py), started for one test and stopped with it.
#pragma once

#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

namespace analytics_test {

class CollectServer {
  public:
    explicit CollectServer(bool tls = false);
    ~CollectServer();

    CollectServer(const CollectServer&) = delete;
    CollectServer& operator=(const CollectServer&) = delete;

    // The collection address, as the tracker's default has it.
    std::string Url() const;

    // See collect_server.py for the settings.
    void Control(const nlohmann::json& settings);
    void Release();
    int Arrived();

    nlohmann::json Batches();
    // Every record of every batch, oldest first.
    nlohmann::json Records();

  private:
    std::string Request(const std::string& path, const std::string* body);

    FILE* process_ = nullptr;
    std::string base_;
};

}  // namespace analytics_test
