#include "platform/Ini.h"

#include <cerrno>
#include <cwchar>
#include <string>

#include "platform/Files.h"
#include "system/AtomicFile.h"
#include "system/FileLock.h"
#include "system/IniDocument.h"
#include "system/KernelObject.h"

namespace win32 {

namespace {

detail::IniDocument Load(const std::string& path) {
    return detail::IniDocument::Parse(detail::ReadWholeFile(path).value_or(std::string()));
}

// Copies text into the caller's buffer, cut to size - 1 characters; returns the count.
DWORD CopyOut(const std::wstring& text, wchar_t* buffer, DWORD size) {
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    const DWORD count = static_cast<DWORD>(text.size() < size ? text.size() : size - 1);
    text.copy(buffer, count);
    buffer[count] = L'\0';
    return count;
}

// A list of names, each ended by a zero and the whole by another; when it does not fit, it is
// cut and doubly terminated, and the result is size - 2, as on Windows.
DWORD CopyOutList(const std::vector<std::wstring>& names, wchar_t* buffer, DWORD size) {
    if (buffer == nullptr || size < 2) {
        return 0;
    }
    std::wstring joined;
    for (const std::wstring& name : names) {
        joined += name;
        joined += L'\0';
    }
    if (joined.size() + 1 <= size) {
        joined.copy(buffer, joined.size());
        buffer[joined.size()] = L'\0';
        return static_cast<DWORD>(joined.size());
    }
    joined.copy(buffer, size - 2);
    buffer[size - 2] = L'\0';
    buffer[size - 1] = L'\0';
    return size - 2;
}

}  // namespace

DWORD GetPrivateProfileStringW(const wchar_t* section, const wchar_t* key,
                               const wchar_t* defaultValue, wchar_t* buffer, DWORD size,
                               const wchar_t* fileName) {
    const detail::IniDocument document = Load(NativePath(fileName != nullptr ? fileName : L""));
    if (section == nullptr) {
        return CopyOutList(document.Sections(), buffer, size);
    }
    if (key == nullptr) {
        return CopyOutList(document.Keys(section), buffer, size);
    }
    if (auto value = document.Get(section, key)) {
        return CopyOut(*value, buffer, size);
    }
    std::wstring fallback = defaultValue != nullptr ? defaultValue : L"";
    while (!fallback.empty() && (fallback.back() == L' ' || fallback.back() == L'\t')) {
        fallback.pop_back();
    }
    return CopyOut(fallback, buffer, size);
}

UINT GetPrivateProfileIntW(const wchar_t* section, const wchar_t* key, int defaultValue,
                           const wchar_t* fileName) {
    const detail::IniDocument document = Load(NativePath(fileName != nullptr ? fileName : L""));
    const auto value = document.Get(section != nullptr ? section : L"", key != nullptr ? key : L"");
    if (!value) {
        return static_cast<UINT>(defaultValue);
    }
    const wchar_t* p = value->c_str();
    const bool negative = *p == L'-';
    if (*p == L'-' || *p == L'+') {
        ++p;
    }
    UINT number = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p) {
        number = number * 10 + static_cast<UINT>(*p - L'0');
    }
    return negative ? 0u - number : number;
}

BOOL WritePrivateProfileStringW(const wchar_t* section, const wchar_t* key, const wchar_t* value,
                                const wchar_t* fileName) {
    if (section == nullptr || fileName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::string path = NativePath(fileName);
    detail::FileLock lock(detail::LockNameForFile(path), detail::FileLock::Mode::Wait);
    const auto bytes = detail::ReadWholeFile(path);
    if (!bytes && errno != ENOENT) {
        return detail::FailWithErrno();  // never replace a file that could not be read
    }
    detail::IniDocument document = detail::IniDocument::Parse(bytes.value_or(std::string()));
    if (key == nullptr) {
        document.RemoveSection(section);
    } else if (value == nullptr) {
        document.RemoveKey(section, key);
    } else {
        document.Set(section, key, value);
    }
    if (!detail::ReplaceFileContents(path, document.Serialize())) {
        return detail::FailWithErrno();
    }
    return TRUE;
}

}  // namespace win32
