#include "platform/Registry.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "system/AtomicFile.h"
#include "system/FileLock.h"
#include "system/IniDocument.h"
#include "system/Utf8.h"

namespace win32 {

struct RegistryKey {
    std::wstring path;  // "HKEY_CURRENT_USER\\Software\\..."
};

namespace {

RegistryKey currentUser{L"HKEY_CURRENT_USER"};

std::string StoreFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    std::string base = config != nullptr && *config != '\0'
                           ? config
                           : std::string(home != nullptr ? home : "/tmp") + "/.config";
    return base + "/quillon";
}

std::string StorePath() {
    return StoreFolder() + "/registry.ini";
}

// Names and values are stored one per line: line breaks, backslashes and "=" are escaped.
std::wstring Escape(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        switch (c) {
            case L'\\':
                out += L"\\\\";
                break;
            case L'\n':
                out += L"\\n";
                break;
            case L'\r':
                out += L"\\r";
                break;
            case L'=':
                out += L"\\e";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::wstring Unescape(const std::wstring& text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        switch (text[++i]) {
            case L'n':
                out += L'\n';
                break;
            case L'r':
                out += L'\r';
                break;
            case L'e':
                out += L'=';
                break;
            default:
                out += text[i];
        }
    }
    return out;
}

// Values are framed so that blanks and quotes at their ends survive the INI trimming.
const std::wstring kValueMarker = L"sz:";
const wchar_t kValueEnd = L'|';

std::wstring JoinPath(const RegistryKey* key, const wchar_t* subKey) {
    std::wstring path = key->path;
    if (subKey != nullptr && *subKey != L'\0') {
        path += L'\\';
        path += subKey;
    }
    while (!path.empty() && path.back() == L'\\') {
        path.pop_back();
    }
    return path;
}

std::optional<detail::IniDocument> LoadStore() {
    auto bytes = detail::ReadWholeFile(StorePath());
    if (!bytes && errno != ENOENT) {
        return std::nullopt;
    }
    return detail::IniDocument::Parse(bytes.value_or(std::string()));
}

LONG ErrorFromErrno() {
    return errno == EACCES || errno == EPERM || errno == EROFS ? ERROR_ACCESS_DENIED
                                                               : ERROR_WRITE_FAULT;
}

// Loads the store under the writers' lock, applies the change and writes it back.
void CreateStoreFolder() {
    const std::string folder = StoreFolder();
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        ::mkdir(folder.substr(0, slash).c_str(), 0700);
        if (slash == std::string::npos) {
            return;
        }
    }
}

template <typename Change>
LONG UpdateStore(Change change) {
    CreateStoreFolder();
    detail::FileLock lock(detail::LockNameForFile(StorePath()), detail::FileLock::Mode::Wait);
    auto document = LoadStore();
    if (!document) {
        return ErrorFromErrno();
    }
    change(*document);
    return detail::ReplaceFileContents(StorePath(), document->Serialize()) ? ERROR_SUCCESS
                                                                           : ErrorFromErrno();
}

bool KeyExists(const detail::IniDocument& document, const std::wstring& path) {
    for (const std::wstring& section : document.Sections()) {
        if (detail::EqualsIgnoringCase(section, path)) {
            return true;
        }
    }
    return false;
}

}  // namespace

const HKEY HKEY_CURRENT_USER = &currentUser;

LONG RegCreateKeyExW(HKEY key, const wchar_t* subKey, DWORD, wchar_t*, DWORD, REGSAM, void*,
                     HKEY* result, DWORD* disposition) {
    if (key == nullptr || result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    const std::wstring path = JoinPath(key, subKey);
    bool created = false;
    const LONG status = UpdateStore([&](detail::IniDocument& document) {
        if (!KeyExists(document, path)) {
            // A key is a section; a marker entry keeps an empty key in the file.
            document.Set(path, L"\\key", L"");
            created = true;
        }
    });
    if (status != ERROR_SUCCESS) {
        return status;
    }
    if (disposition != nullptr) {
        *disposition = created ? 1 : 2;  // REG_CREATED_NEW_KEY, REG_OPENED_EXISTING_KEY
    }
    *result = new RegistryKey{path};
    return ERROR_SUCCESS;
}

LONG RegOpenKeyExW(HKEY key, const wchar_t* subKey, DWORD, REGSAM, HKEY* result) {
    if (key == nullptr || result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    const std::wstring path = JoinPath(key, subKey);
    auto document = LoadStore();
    if (!document) {
        return ErrorFromErrno();
    }
    if (!KeyExists(*document, path)) {
        return ERROR_FILE_NOT_FOUND;
    }
    *result = new RegistryKey{path};
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
    if (key == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    if (key != HKEY_CURRENT_USER) {
        delete key;
    }
    return ERROR_SUCCESS;
}

LONG RegSetValueExW(HKEY key, const wchar_t* valueName, DWORD, DWORD type, const BYTE* data,
                    DWORD size) {
    if (key == nullptr || type != REG_SZ || (data == nullptr && size != 0)) {
        return ERROR_INVALID_PARAMETER;
    }
    std::wstring text(reinterpret_cast<const wchar_t*>(data), size / sizeof(wchar_t));
    if (const std::size_t zero = text.find(L'\0'); zero != std::wstring::npos) {
        text.resize(zero);
    }
    const std::wstring name = Escape(valueName != nullptr ? valueName : L"");
    return UpdateStore([&](detail::IniDocument& document) {
        document.Set(key->path, L"v:" + name, kValueMarker + Escape(text) + kValueEnd);
    });
}

LONG RegQueryValueExW(HKEY key, const wchar_t* valueName, DWORD*, DWORD* type, BYTE* data,
                      DWORD* size) {
    if (key == nullptr || (data != nullptr && size == nullptr)) {
        return ERROR_INVALID_PARAMETER;
    }
    auto document = LoadStore();
    if (!document) {
        return ErrorFromErrno();
    }
    const auto stored =
        document->Get(key->path, L"v:" + Escape(valueName != nullptr ? valueName : L""));
    if (!stored || stored->size() <= kValueMarker.size() ||
        stored->compare(0, kValueMarker.size(), kValueMarker) != 0 || stored->back() != kValueEnd) {
        return ERROR_FILE_NOT_FOUND;
    }
    const std::wstring text =
        Unescape(stored->substr(kValueMarker.size(), stored->size() - kValueMarker.size() - 1));
    const DWORD needed = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    if (type != nullptr) {
        *type = REG_SZ;
    }
    if (data == nullptr) {
        if (size != nullptr) {
            *size = needed;
        }
        return ERROR_SUCCESS;
    }
    if (*size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    std::memcpy(data, text.c_str(), needed);
    *size = needed;
    return ERROR_SUCCESS;
}

}  // namespace win32
