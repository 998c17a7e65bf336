#include "setup/UninstallLineParser.h"

#include "setup/SetupStatus.h"

namespace {

using LineProtocol::TakeValue;
using LineProtocol::Trimmed;

// Keys are tried in this order; the first that matches decides.
FinalState ParseLine(const std::wstring& line, const StatusCallback& report, int* codePage) {
    std::wstring value;
    if (TakeValue(line, L"Progress=", &value)) {
        report(UNIST_CODE_PROGRESS, LineProtocol::LeadingNumber(value), L"");
    } else if (TakeValue(line, L"Error=", &value)) {
        report(UNIST_CODE_ERROR, 0.0, value.c_str());
        return FinalState::Failure;
    } else if (TakeValue(line, L"State=", &value)) {
        const std::wstring state = Trimmed(value);
        if (state == L"Success") {
            report(UNIST_CODE_SUCCESS, 0.0, L"");
            return FinalState::Success;
        }
        if (state == L"Fail") {
            report(UNIST_CODE_ERROR, 0.0, kUninstallFailedText);
            return FinalState::Failure;
        }
    } else if (TakeValue(line, L"Encode=", &value)) {
        *codePage = Trimmed(value) == L"UTF8" ? 65001 : 0;
    }
    return FinalState::None;
}

}  // namespace

FinalState ParseUninstallChunk(const std::wstring& chunk, const StatusCallback& report,
                               int* codePage) {
    return LineProtocol::ParseChunk(
        chunk, [&](const std::wstring& line) { return ParseLine(line, report, codePage); });
}
