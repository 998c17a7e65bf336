#include "analytics/tracker/TrackerContext.h"

#include <cstdio>
#include <mutex>
#include <random>

#include "platform/Com.h"
#include "platform/Files.h"
#include "platform/Ini.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"
#include "utils/TextConversion.h"

namespace zoren::usage {

namespace {

constexpr wchar_t kBase[] = L"Base";
constexpr int kGuidAttempts = 10;
constexpr win32::DWORD kValueSize = 128;

std::wstring ReadValue(const wchar_t* section, const wchar_t* key, const std::wstring& file,
                       win32::DWORD size = kValueSize) {
    std::wstring buffer(size, L'\0');
    const win32::DWORD length =
        win32::GetPrivateProfileStringW(section, key, L"", buffer.data(), size, file.c_str());
    buffer.resize(length);
    return buffer;
}

void WriteValue(const wchar_t* section, const wchar_t* key, const std::string& value,
                const std::wstring& file) {
    win32::WritePrivateProfileStringW(section, key, Utils::FromUtf8(value).c_str(), file.c_str());
}

std::wstring FolderOf(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator + 1);
}

// The settings file that "Set.ini" beside the executable names, with "\\" separators.
std::wstring PointedSettingsFile() {
    wchar_t module[win32::MAX_PATH + 1] = {};
    win32::GetModuleFileNameW(nullptr, module, win32::MAX_PATH + 1);
    const std::wstring pointer = FolderOf(module) + L"Set.ini";
    if (!win32::PathFileExistsW(pointer.c_str())) {
        return {};
    }
    std::wstring path = ReadValue(L"Install", L"ZRUsageAnalyticsIni", pointer, win32::MAX_PATH);
    for (wchar_t& c : path) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return path;
}

// Windows 7 and later keep per-user data in the local application data; the older ones
// used the common documents.
std::wstring DefaultDataRoot() {
    win32::DWORD major = 0, minor = 0, build = 0;
    win32::RtlGetNtVersionNumbers(&major, &minor, &build);
    const bool sevenOrLater = major > 6 || (major == 6 && minor >= 1);
    wchar_t folder[win32::MAX_PATH] = {};
    const int csidl = sevenOrLater ? win32::CSIDL_LOCAL_APPDATA : win32::CSIDL_COMMON_DOCUMENTS;
    if (win32::FAILED(win32::SHGetFolderPathW(nullptr, csidl, nullptr, 0, folder))) {
        return {};
    }
    return folder;
}

std::string FormatGuid(const win32::GUID& guid) {
    char text[40];
    std::snprintf(text, sizeof text, "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X", guid.Data1,
                  guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2],
                  guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    return text;
}

// Only when the system has no GUIDs to give. Seeded from the system's entropy: a fixed seed
// would give every such machine the same identity.
std::string PseudoRandomIdentifier() {
    static std::mutex lock;
    static std::mt19937 generator{std::random_device{}()};
    std::lock_guard<std::mutex> guard(lock);
    std::uniform_int_distribution<unsigned> draw(0, 2147483646);
    unsigned values[8];
    for (unsigned& value : values) {
        value = draw(generator);
    }
    char text[96];
    std::snprintf(text, sizeof text, "%x%x-%x-%x-%x-%x%x%x", values[0], values[1], values[2],
                  (values[3] & 0xFFF) | 0x4000, values[4] % 0x3FFF + 0x8000, values[5], values[6],
                  values[7]);
    return text;
}

}  // namespace

void TrackerContext::locateFiles(const std::string& appName, const std::string& configuredLogPath) {
    const std::wstring name = Utils::FromUtf8(appName);
    const std::wstring pointed = PointedSettingsFile();
    if (pointed.find(L'\\') != std::wstring::npos) {
        settingsPath = pointed;
        dataDir = pointed.substr(0, pointed.rfind(L'\\'));
        Utils::CreateFolderWithParents(dataDir);
        dataDir += L"\\";
    } else {
        dataDir = DefaultDataRoot() + L"\\ZRLocal\\";
        Utils::CreateFolderWithParents(dataDir);
        dataDir += name + L"\\";
        Utils::CreateFolderWithParents(dataDir);
        settingsPath = dataDir + name + L"_ZRSConfigure.ini";
    }
    logPath = configuredLogPath.empty() ? dataDir + name + L"_ZRSLog.txt"
                                        : Utils::FromUtf8(configuredLogPath);
    sdkDataFile = dataDir + name + L"_ZRSRecords.txt";
}

void TrackerContext::loadIdentity() {
    userId.clear();
    distinctId.clear();
    primaryDistinctId.clear();
    savedUrl.clear();
    loggedIn = false;
    if (win32::PathFileExistsW(settingsPath.c_str())) {
        const std::wstring& file = settingsPath;
        distinctId = Utils::ToUtf8(ReadValue(kBase, L"DistinctId", file));
        primaryDistinctId = Utils::ToUtf8(ReadValue(kBase, L"PrimaryDistinctId", file));
        if (primaryDistinctId.empty()) {
            primaryDistinctId = distinctId;
        }
        userId = Utils::ToUtf8(ReadValue(kBase, L"UserId", file));
        vipLevel =
            static_cast<int>(win32::GetPrivateProfileIntW(kBase, L"UserVipLevel", 0, file.c_str()));
        loggedIn = ReadValue(kBase, L"isLogined", file) == L"OK";
        savedUrl = Utils::ToUtf8(ReadValue(kBase, L"URL", file));
    }
    if (distinctId.empty()) {
        distinctId = newIdentifier();
        saveIdentity();
    }
    if (userId.empty()) {
        loggedIn = false;
    }
}

void TrackerContext::applyServerUrl(const std::string& url) {
    if (savedUrl == url && !distinctId.empty()) {
        return;
    }
    userId.clear();
    loggedIn = false;
    if (primaryDistinctId.empty()) {
        distinctId = newIdentifier();
        primaryDistinctId = distinctId;
    } else {
        distinctId = primaryDistinctId;
    }
    savedUrl = url;
    saveIdentity();
}

void TrackerContext::saveIdentity() const {
    WriteValue(kBase, L"DistinctId", distinctId, settingsPath);
    WriteValue(kBase, L"PrimaryDistinctId", primaryDistinctId, settingsPath);
    WriteValue(kBase, L"UserId", userId, settingsPath);
    WriteValue(kBase, L"UserVipLevel", std::to_string(vipLevel), settingsPath);
    WriteValue(kBase, L"URL", savedUrl, settingsPath);
    WriteValue(kBase, L"isLogined", loggedIn ? "OK" : "NG", settingsPath);
}

void TrackerContext::writeUninstallInfo(const std::string& appStore, const std::string& appName,
                                        const std::string& appVersion) const {
    WriteValue(L"UninstallInfo", L"AppStore", appStore, settingsPath);
    WriteValue(L"UninstallInfo", L"AppName", appName, settingsPath);
    WriteValue(L"UninstallInfo", L"AppVersion", appVersion, settingsPath);
}

std::string TrackerContext::newIdentifier() {
    for (int attempt = 0; attempt < kGuidAttempts; ++attempt) {
        win32::GUID guid{};
        if (win32::SUCCEEDED(win32::CoCreateGuid(&guid))) {
            return FormatGuid(guid);
        }
    }
    return PseudoRandomIdentifier();
}

}  // namespace zoren::usage
