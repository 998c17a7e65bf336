// Child setup programs for the runner tests: a small shell stub at the path a runner starts,
// which hands over to the fixture program with one of its scenarios.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace SetupTest {

class ChildScript {
  public:
    // Writes the stub at path; it plays the scenario and records its arguments beside itself.
    ChildScript(const std::string& path, const std::string& scenario, bool executable);

    // The arguments the child was started with, program name excluded.
    std::vector<std::string> Arguments() const;
    // Whether the child got to its end (it writes a marker just before it exits).
    bool Ended() const;

  private:
    std::string argsFile_;
};

}  // namespace SetupTest
