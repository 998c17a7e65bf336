#include "platform/CodePage.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <cerrno>
#include <cstring>
#include <cwchar>
#include <string>

namespace win32 {

namespace {

// The locale's character set from the environment (LC_ALL, LC_CTYPE, LANG), without touching
// the process's locale. A plain ASCII ("C") locale counts as UTF-8: file names and terminals
// here are UTF-8 whatever the locale says.
std::string AnsiCharset() {
    static const std::string charset = [] {
        std::string name = "UTF-8";
        if (locale_t locale = ::newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0))) {
            const char* codeset = ::nl_langinfo_l(CODESET, locale);
            if (codeset != nullptr && *codeset != '\0' &&
                std::strcmp(codeset, "ANSI_X3.4-1968") != 0) {
                name = codeset;
            }
            ::freelocale(locale);
        }
        return name;
    }();
    return charset;
}

std::string CharsetOf(UINT codePage) {
    switch (codePage) {
        case CP_ACP:
            return AnsiCharset();
        case CP_UTF8:
            return "UTF-8";
        case 936:
            return "GBK";
        default:
            return "CP" + std::to_string(codePage);
    }
}

class Converter {
  public:
    Converter(const std::string& to, const std::string& from)
        : handle_(::iconv_open(to.c_str(), from.c_str())) {}
    ~Converter() {
        if (Valid()) {
            ::iconv_close(handle_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool Valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // Converts all input; a unit that cannot be converted is skipped (unitSize bytes) and
    // replaced by `replacement`, or the conversion fails when replacement is empty.
    bool Convert(const char* input, std::size_t size, std::size_t unitSize,
                 const std::string& replacement, std::string* output, bool* replaced) {
        char* in = const_cast<char*>(input);
        std::size_t left = size;
        char buffer[4096];
        while (left > 0) {
            char* out = buffer;
            std::size_t room = sizeof buffer;
            const std::size_t result = ::iconv(handle_, &in, &left, &out, &room);
            output->append(buffer, out - buffer);
            if (result != static_cast<std::size_t>(-1)) {
                continue;
            }
            if (errno == E2BIG) {
                continue;
            }
            if (replacement.empty()) {
                return false;
            }
            const std::size_t skip = unitSize < left ? unitSize : left;
            in += skip;
            left -= skip;
            output->append(replacement);
            if (replaced != nullptr) {
                *replaced = true;
            }
        }
        return true;
    }

  private:
    iconv_t handle_;
};

std::string WideAsBytes(const wchar_t* text, std::size_t count) {
    return std::string(reinterpret_cast<const char*>(text), count * sizeof(wchar_t));
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, const char* text, int length, wchar_t* out,
                        int outSize) {
    if (text == nullptr || length == 0 || length < -1 || outSize < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::size_t size =
        length == -1 ? std::strlen(text) + 1 : static_cast<std::size_t>(length);
    Converter converter("WCHAR_T", CharsetOf(codePage));
    if (!converter.Valid()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::string replacement =
        (flags & MB_ERR_INVALID_CHARS) != 0 ? std::string() : WideAsBytes(L"\xFFFD", 1);
    std::string bytes;
    if (!converter.Convert(text, size, 1, replacement, &bytes, nullptr)) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
    }
    const int count = static_cast<int>(bytes.size() / sizeof(wchar_t));
    if (outSize == 0) {
        return count;
    }
    if (out == nullptr || count > outSize) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(out, bytes.data(), count * sizeof(wchar_t));
    return count;
}

int WideCharToMultiByte(UINT codePage, DWORD, const wchar_t* text, int length, char* out,
                        int outSize, const char* defaultChar, BOOL* usedDefault) {
    if (text == nullptr || length == 0 || length < -1 || outSize < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::size_t count =
        length == -1 ? std::wcslen(text) + 1 : static_cast<std::size_t>(length);
    Converter converter(CharsetOf(codePage), "WCHAR_T");
    if (!converter.Valid()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    bool replaced = false;
    std::string bytes;
    converter.Convert(reinterpret_cast<const char*>(text), count * sizeof(wchar_t), sizeof(wchar_t),
                      defaultChar != nullptr ? defaultChar : "?", &bytes, &replaced);
    if (usedDefault != nullptr) {
        *usedDefault = replaced ? TRUE : FALSE;
    }
    const int size = static_cast<int>(bytes.size());
    if (outSize == 0) {
        return size;
    }
    if (out == nullptr || size > outSize) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(out, bytes.data(), size);
    return size;
}

}  // namespace win32
