#include "utils/CommandLine.h"

#include "platform/Process.h"

namespace Utils {

CommandLine::CommandLine(const std::wstring& commandLine) {
    for (const std::wstring& argument : win32::CommandLineToArgvW(commandLine)) {
        const std::size_t equals = argument.find(L'=');
        const bool isSwitch =
            !argument.empty() && argument[0] == L'-' && equals != std::wstring::npos;
        const std::wstring name = isSwitch ? argument.substr(0, equals) : argument;
        const std::wstring value = isSwitch ? argument.substr(equals + 1) : std::wstring();
        switches_.emplace(name, value);  // keeps the first occurrence
    }
}

std::wstring CommandLine::Value(const std::wstring& name) const {
    const auto found = switches_.find(name);
    return found != switches_.end() ? found->second : std::wstring();
}

}  // namespace Utils
