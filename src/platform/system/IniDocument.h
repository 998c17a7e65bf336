// The text of an INI file as lines, looked up and changed the way the private-profile
// functions do: sections and keys without regard to case, the first of duplicates counting,
// everything else (comments, order, line ends) kept as it was.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace win32::detail {

class IniDocument {
  public:
    // Text in UTF-8 (a byte-order mark is kept) or UTF-16LE with its mark.
    static IniDocument Parse(const std::string& bytes);
    std::string Serialize() const;

    // The value with blanks and one pair of enclosing quotes removed.
    std::optional<std::wstring> Get(const std::wstring& section, const std::wstring& key) const;
    std::vector<std::wstring> Sections() const;
    std::vector<std::wstring> Keys(const std::wstring& section) const;

    void Set(const std::wstring& section, const std::wstring& key, const std::wstring& value);
    void RemoveKey(const std::wstring& section, const std::wstring& key);
    void RemoveSection(const std::wstring& section);

  private:
    struct Line {
        std::wstring text;
        std::wstring section;  // the section name when this line is a header
        std::wstring key;      // the key when this line is "key=value"
        bool isHeader = false;
        bool isEntry = false;
    };
    static Line Classify(std::wstring text);
    // Index of the first header of the section, or -1.
    long FindSection(const std::wstring& section) const;
    // Index one past the section's last line.
    std::size_t SectionEnd(std::size_t header) const;
    long FindKey(std::size_t header, const std::wstring& key) const;

    std::vector<Line> lines_;
    std::wstring lineEnd_ = L"\n";
    bool byteOrderMark_ = false;
};

bool EqualsIgnoringCase(const std::wstring& a, const std::wstring& b);
std::wstring Trim(const std::wstring& text);

}  // namespace win32::detail
