// The layouts' XML parser: a small subset of XML, parsed in place in one wide buffer.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace SkinUI {

class CXmlMarkup;

// A handle on one element; copied freely, valid as long as its document.
class CXmlNode {
  public:
    static constexpr int kMaxAttributes = 64;

    CXmlNode() = default;

    bool IsValid() const { return owner_ != nullptr; }
    CXmlNode GetParent() const;
    CXmlNode GetSibling() const;
    CXmlNode GetChild() const;
    bool HasChildren() const;
    bool HasSiblings() const;
    const wchar_t* GetName() const;
    const wchar_t* GetValue() const;

    // Only the first 64 attributes of an element are seen. Out-of-range indexes and unknown
    // names give "". Names compare case-sensitively.
    bool HasAttributes() const;
    int GetAttributeCount() const;
    const wchar_t* GetAttributeName(int index) const;
    const wchar_t* GetAttributeValue(int index) const;
    const wchar_t* GetAttributeValue(const wchar_t* name) const;
    // Copies at most size - 1 characters and a terminator; false when the name is missing.
    bool GetAttributeValue(const wchar_t* name, wchar_t* value, std::size_t size) const;

  private:
    friend class CXmlMarkup;
    CXmlNode(const CXmlMarkup* owner, unsigned index) : owner_(owner), index_(index) {}
    void MapAttributes() const;

    const CXmlMarkup* owner_ = nullptr;
    unsigned index_ = 0;
    mutable bool mapped_ = false;
    mutable int attributeCount_ = 0;
    mutable unsigned names_[kMaxAttributes] = {};
    mutable unsigned values_[kMaxAttributes] = {};
};

class CXmlMarkup {
  public:
    // Deeper documents fail with "Elements nested too deeply" instead of exhausting the stack.
    static constexpr int kMaxDepth = 1000;

    enum Encoding {
        XMLFILE_ENCODING_UTF8 = 0,
        XMLFILE_ENCODING_UNICODE = 1,
        XMLFILE_ENCODING_ASNI = 2
    };

    CXmlMarkup() = default;
    explicit CXmlMarkup(const wchar_t* xml) { Load(xml); }

    bool Load(const wchar_t* xml);
    bool LoadFromMem(const unsigned char* bytes, std::size_t size,
                     int encoding = XMLFILE_ENCODING_UTF8);
    // The skin file by name, through the loose files or the archive.
    bool LoadFromFile(const wchar_t* name, int encoding = XMLFILE_ENCODING_UTF8);
    void Release();
    bool IsValid() const { return elements_.size() > 1; }
    void SetPreserveWhitespace(bool preserve) { preserveWhitespace_ = preserve; }

    CXmlNode GetRoot() const;
    const std::wstring& GetLastErrorMessage() const { return errorMessage_; }
    const std::wstring& GetLastErrorLocation() const { return errorLocation_; }

  private:
    friend class CXmlNode;

    struct Element {
        unsigned start;   // offset of the name
        unsigned child;   // first child, 0 if none
        unsigned next;    // next sibling, 0 if none
        unsigned parent;  // 0 for top-level elements
        unsigned data;    // offset of the text content
    };
    struct Attribute {
        unsigned name;
        unsigned value;
    };

    bool Parse();
    bool ParseList(std::size_t& pos, unsigned parent, int depth);
    bool ParseAttributes(std::size_t& pos, unsigned element);
    bool ParseData(std::size_t& pos, std::size_t& dest, wchar_t end);
    void ParseEntity(std::size_t& pos, std::size_t& dest);
    void SkipWhitespace(std::size_t& pos) const;
    void SkipIdentifier(std::size_t& pos) const;
    unsigned ReserveElement();
    bool Fail(const wchar_t* message, std::size_t pos);
    void SetError(const std::wstring& message, const std::wstring& location);

    std::vector<wchar_t> text_;  // the document, ending with two zeros
    std::vector<Element> elements_;
    std::size_t capacity_ = 0;
    // Per element: where its attributes start in attributes_, and how many.
    std::vector<std::pair<unsigned, unsigned>> attributeRanges_;
    std::vector<Attribute> attributes_;
    bool preserveWhitespace_ = true;
    std::wstring errorMessage_;   // at most 99 characters
    std::wstring errorLocation_;  // at most 49 characters
};

}  // namespace SkinUI
