#include "system/IniDocument.h"

#include <cwctype>

#include "system/Utf8.h"

namespace win32::detail {

bool EqualsIgnoringCase(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::towlower(a[i]) != std::towlower(b[i])) {
            return false;
        }
    }
    return true;
}

std::wstring Trim(const std::wstring& text) {
    const wchar_t* blanks = L" \t\r\n\v\f";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::wstring::npos) {
        return std::wstring();
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

namespace {

std::wstring DecodeUtf16Le(const std::string& bytes, std::size_t offset) {
    std::wstring out;
    for (std::size_t i = offset; i + 1 < bytes.size(); i += 2) {
        char32_t unit =
            static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
            char32_t low = static_cast<unsigned char>(bytes[i + 2]) |
                           (static_cast<unsigned char>(bytes[i + 3]) << 8);
            if (low >= 0xDC00 && low < 0xE000) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        out += static_cast<wchar_t>(unit);
    }
    return out;
}

std::wstring Unquote(std::wstring value) {
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

}  // namespace

IniDocument::Line IniDocument::Classify(std::wstring text) {
    Line line;
    const std::wstring trimmed = Trim(text);
    line.text = std::move(text);
    if (!trimmed.empty() && trimmed.front() == L'[') {
        const std::size_t close = trimmed.find(L']');
        line.isHeader = true;
        line.section =
            Trim(trimmed.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1));
        return line;
    }
    const std::size_t equals = trimmed.find(L'=');
    if (!trimmed.empty() && trimmed.front() != L';' && equals != std::wstring::npos) {
        line.isEntry = true;
        line.key = Trim(trimmed.substr(0, equals));
    }
    return line;
}

IniDocument IniDocument::Parse(const std::string& bytes) {
    IniDocument document;
    std::wstring text;
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        text = DecodeUtf16Le(bytes, 2);
    } else if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        document.byteOrderMark_ = true;
        text = Utf8ToWide(std::string_view(bytes).substr(3));
    } else {
        text = Utf8ToWide(bytes);
    }
    if (text.find(L"\r\n") != std::wstring::npos) {
        document.lineEnd_ = L"\r\n";
    }
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) {
            end = text.size();
        }
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r') {
            line.pop_back();
        }
        document.lines_.push_back(Classify(std::move(line)));
        start = end + 1;
    }
    return document;
}

std::string IniDocument::Serialize() const {
    std::wstring text;
    for (const Line& line : lines_) {
        text += line.text;
        text += lineEnd_;
    }
    return (byteOrderMark_ ? std::string("\xEF\xBB\xBF") : std::string()) + WideToUtf8(text);
}

long IniDocument::FindSection(const std::wstring& section) const {
    const std::wstring wanted = Trim(section);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].isHeader && EqualsIgnoringCase(lines_[i].section, wanted)) {
            return static_cast<long>(i);
        }
    }
    return -1;
}

std::size_t IniDocument::SectionEnd(std::size_t header) const {
    std::size_t end = header + 1;
    while (end < lines_.size() && !lines_[end].isHeader) {
        ++end;
    }
    return end;
}

long IniDocument::FindKey(std::size_t header, const std::wstring& key) const {
    const std::wstring wanted = Trim(key);
    const std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        if (lines_[i].isEntry && EqualsIgnoringCase(lines_[i].key, wanted)) {
            return static_cast<long>(i);
        }
    }
    return -1;
}

std::optional<std::wstring> IniDocument::Get(const std::wstring& section,
                                             const std::wstring& key) const {
    const long header = FindSection(section);
    if (header < 0) {
        return std::nullopt;
    }
    const long entry = FindKey(header, key);
    if (entry < 0) {
        return std::nullopt;
    }
    const std::wstring& text = lines_[entry].text;
    return Unquote(Trim(text.substr(text.find(L'=') + 1)));
}

std::vector<std::wstring> IniDocument::Sections() const {
    std::vector<std::wstring> names;
    for (const Line& line : lines_) {
        if (line.isHeader) {
            names.push_back(line.section);
        }
    }
    return names;
}

std::vector<std::wstring> IniDocument::Keys(const std::wstring& section) const {
    std::vector<std::wstring> keys;
    const long header = FindSection(section);
    if (header >= 0) {
        for (std::size_t i = header + 1; i < SectionEnd(header); ++i) {
            if (lines_[i].isEntry) {
                keys.push_back(lines_[i].key);
            }
        }
    }
    return keys;
}

void IniDocument::Set(const std::wstring& section, const std::wstring& key,
                      const std::wstring& value) {
    const std::wstring entryText = Trim(key) + L"=" + value;
    long header = FindSection(section);
    if (header < 0) {
        lines_.push_back(Classify(L"[" + Trim(section) + L"]"));
        lines_.push_back(Classify(entryText));
        return;
    }
    const long entry = FindKey(header, key);
    if (entry >= 0) {
        lines_[entry] = Classify(lines_[entry].key + L"=" + value);  // the key keeps its spelling
        return;
    }
    // After the section's last non-blank line, so blank separators stay between sections.
    std::size_t insertAt = SectionEnd(header);
    while (insertAt > static_cast<std::size_t>(header) + 1 &&
           Trim(lines_[insertAt - 1].text).empty()) {
        --insertAt;
    }
    lines_.insert(lines_.begin() + insertAt, Classify(entryText));
}

void IniDocument::RemoveKey(const std::wstring& section, const std::wstring& key) {
    const long header = FindSection(section);
    if (header >= 0) {
        const long entry = FindKey(header, key);
        if (entry >= 0) {
            lines_.erase(lines_.begin() + entry);
        }
    }
}

void IniDocument::RemoveSection(const std::wstring& section) {
    const long header = FindSection(section);
    if (header >= 0) {
        lines_.erase(lines_.begin() + header, lines_.begin() + SectionEnd(header));
    }
}

}  // namespace win32::detail
