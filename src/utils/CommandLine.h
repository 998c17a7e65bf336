// Switches of a command line: "-name=value" gives name "-name" and everything after the first
// "=" as value; any other argument is a name with an empty value. The first occurrence wins.
#pragma once

#include <map>
#include <string>

namespace Utils {

class CommandLine {
  public:
    explicit CommandLine(const std::wstring& commandLine);

    bool Has(const std::wstring& name) const { return switches_.count(name) != 0; }
    // The value of a present switch; empty for a missing one.
    std::wstring Value(const std::wstring& name) const;

  private:
    std::map<std::wstring, std::wstring> switches_;
};

}  // namespace Utils
