#include "utils/TextConversion.h"

#include <openssl/evp.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/CodePage.h"
#include "platform/Files.h"

namespace Utils {

std::wstring MultiByteToWide(const char* text, win32::UINT codePage) {
    if (text == nullptr || *text == '\0') {
        return std::wstring();
    }
    const int needed = win32::MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    if (needed <= 0) {
        return std::wstring();
    }
    std::wstring wide(needed, L'\0');
    if (win32::MultiByteToWideChar(codePage, 0, text, -1, wide.data(), needed) != needed) {
        return std::wstring();
    }
    wide.resize(needed - 1);  // the terminating zero
    return wide;
}

std::wstring MultiByteToWide(const std::string& text, win32::UINT codePage) {
    return MultiByteToWide(text.c_str(), codePage);
}

std::string WideToMultiByte(const std::wstring& text, win32::UINT codePage) {
    if (text.empty()) {
        return std::string();
    }
    const int needed =
        win32::WideCharToMultiByte(codePage, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) {
        return std::string();
    }
    std::string bytes(needed, '\0');
    if (win32::WideCharToMultiByte(codePage, 0, text.c_str(), -1, bytes.data(), needed, nullptr,
                                   nullptr) != needed) {
        return std::string();
    }
    bytes.resize(std::strlen(bytes.c_str()));
    return bytes;
}

std::wstring UrlEncode(const std::wstring& url) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (unsigned char c : ToUtf8(url)) {
        if (c >= 0x21 && c <= 0x7E) {
            encoded += static_cast<char>(c);
        } else if (c == 0x20) {
            encoded += '+';
        } else {
            encoded += '%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 0xF];
        }
    }
    return FromUtf8(encoded);
}

std::wstring FileMd5(const std::wstring& path) {
    if (path.empty()) {
        return std::wstring();
    }
    std::unique_ptr<FILE, int (*)(FILE*)> file(
        win32::OpenFileA(WideToMultiByte(path, 0).c_str(), "rb"), &std::fclose);
    if (file == nullptr) {
        return std::wstring();
    }
    std::unique_ptr<EVP_MD_CTX, void (*)(EVP_MD_CTX*)> context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    if (context == nullptr || EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr) != 1) {
        return std::wstring();
    }
    unsigned char block[1024];
    std::size_t n;
    while ((n = std::fread(block, 1, sizeof block, file.get())) > 0) {
        EVP_DigestUpdate(context.get(), block, n);
    }
    if (std::ferror(file.get())) {
        return std::wstring();
    }
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_DigestFinal_ex(context.get(), digest, &size);
    static const wchar_t kHex[] = L"0123456789abcdef";
    std::wstring text;
    for (unsigned int i = 0; i < size; ++i) {
        text += kHex[digest[i] >> 4];
        text += kHex[digest[i] & 0xF];
    }
    return text;
}

bool CreateFolderWithParents(const std::wstring& path) {
    if (path.size() > win32::MAX_PATH) {
        return false;
    }
    auto ensure = [](const std::wstring& folder) {
        return folder.empty() || win32::PathFileExistsW(folder.c_str()) ||
               win32::CreateDirectoryW(folder.c_str(), nullptr);
    };
    std::size_t separator = path.find_first_of(L"\\/");
    while (separator != std::wstring::npos) {
        if (!ensure(path.substr(0, separator + 1))) {
            return false;
        }
        separator = path.find_first_of(L"\\/", separator + 1);
    }
    const std::size_t last = path.find_last_of(L"\\/");
    const bool textAfterLast = last == std::wstring::npos ? !path.empty() : last + 1 < path.size();
    return !textAfterLast || ensure(path);
}

std::wstring PrivateTempFolder() {
    wchar_t temp[win32::MAX_PATH + 1] = {};
    const win32::DWORD length = win32::GetTempPathW(win32::MAX_PATH + 1, temp);
    if (length == 0 || length > win32::MAX_PATH) {
        return std::wstring();
    }
    const std::wstring folder = std::wstring(temp) + L"~ZoRenTemp.92482B06FB471E17\\";
    if (win32::PathFileExistsW(folder.c_str()) ||
        win32::CreateDirectoryW(folder.c_str(), nullptr)) {
        return folder;
    }
    return std::wstring();
}

}  // namespace Utils
