#include "setup/PackageLineParser.h"

#include <cstdint>

#include "setup/SetupStatus.h"

namespace {

using LineProtocol::LeadingInteger;
using LineProtocol::LeadingNumber;
using LineProtocol::TakeValue;
using LineProtocol::Trimmed;

double StartupStyleValue(const std::wstring& style) {
    if (style == L"AutoStartup") {
        return 1;
    }
    if (style == L"UserStartup") {
        return 2;
    }
    return 0;
}

// The package sends delays as whole milliseconds; a negative one wraps as an unsigned period.
double DelayValue(const std::wstring& value) {
    return static_cast<double>(static_cast<std::uint32_t>(LeadingInteger(value)));
}

// Keys are tried in this order; the first that matches decides.
FinalState ParseLine(const std::wstring& line, const StatusCallback& report, int* codePage) {
    std::wstring value;
    if (TakeValue(line, L"Progress=", &value)) {
        report(IST_CODE_PROGRESS, LeadingNumber(value), L"");
    } else if (TakeValue(line, L"InstPath=", &value)) {
        report(IST_INFO_INSTPATH, 0.0, value.c_str());
    } else if (TakeValue(line, L"State=", &value)) {
        const std::wstring state = Trimmed(value);
        if (state == L"Success") {
            report(IST_CODE_SUCCESS, 0.0, L"");
            return FinalState::Success;
        }
        if (state == L"Fail") {
            report(IST_CODE_FAIL, kFailPackageState, kPackageFailedText);
            return FinalState::Failure;
        }
    } else if (TakeValue(line, L"InstallVersion=", &value)) {
        // Read by packages for their own bookkeeping; nothing to report.
    } else if (TakeValue(line, L"ExePath=", &value) || TakeValue(line, L"StartExe=", &value)) {
        report(IST_INFO_EXEPATH, 0.0, value.c_str());
    } else if (TakeValue(line, L"UninstExePath=", &value) ||
               TakeValue(line, L"UninstExe=", &value)) {
        report(IST_INFO_UNINSTEXE, 0.0, value.c_str());
    } else if (TakeValue(line, L"UninstEp=", &value)) {
        report(IST_INFO_UNINSTEP, 0.0, value.c_str());
    } else if (TakeValue(line, L"Error=", &value)) {
        report(IST_CODE_FAIL, kFailPackageError, value.c_str());
        return FinalState::Failure;
    } else if (TakeValue(line, L"TopShowDetention=", &value)) {
        report(IST_INFO_TOPSHOW, DelayValue(value), L"");
    } else if (TakeValue(line, L"FinsihCloseDetention=", &value)) {
        report(IST_INFO_FINISHCLOSE, DelayValue(value), L"");
    } else if (TakeValue(line, L"StartUrl=", &value)) {
        report(IST_INFO_STARTURL, 0.0, value.c_str());
    } else if (TakeValue(line, L"StartupStyle=", &value)) {
        report(IST_INFO_STARTUPSTYLE, StartupStyleValue(Trimmed(value)), L"");
    } else if (TakeValue(line, L"Encode=", &value)) {
        *codePage = PackageCodePage(value);
    } else if (TakeValue(line, L"Message=", &value)) {
        report(IST_INFO_MESSAGE, 0.0, value.c_str());
    }
    return FinalState::None;
}

}  // namespace

int PackageCodePage(const std::wstring& value) {
    const std::wstring name = Trimmed(value);
    if (name == L"UTF8") {
        return 65001;
    }
    if (name == L"ACP") {
        return 0;
    }
    return LeadingInteger(name);
}

FinalState ParsePackageChunk(const std::wstring& chunk, const StatusCallback& report,
                             int* codePage) {
    return LineProtocol::ParseChunk(
        chunk, [&](const std::wstring& line) { return ParseLine(line, report, codePage); });
}
