#include "download/CurlText.h"

#include <curl/curl.h>

#include "platform/CodePage.h"
#include "utils/TextConversion.h"

std::string CurlUrlText(const std::wstring& url) {
    if (url.rfind(L"file:///", 0) == 0) {
        return Utils::WideToMultiByte(url, win32::CP_ACP);
    }
    return Utils::ToUtf8(url);
}

std::string AnsiPath(const std::wstring& path) {
    return Utils::WideToMultiByte(path, win32::CP_ACP);
}

std::wstring CurlErrorText(int code) {
    return Utils::FromUtf8(curl_easy_strerror(static_cast<CURLcode>(code)));
}
