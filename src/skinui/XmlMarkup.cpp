#include "skinui/XmlMarkup.h"

#include <cstring>
#include <cwchar>
#include <cwctype>

#include "platform/CodePage.h"
#include "skinui/SkinFile.h"

namespace SkinUI {

namespace {

constexpr std::size_t kMaxErrorMessage = 99;
constexpr std::size_t kMaxErrorLocation = 49;

bool IsWhitespace(wchar_t c) {
    return c > 0 && c <= L' ';
}

std::wstring Convert(const char* bytes, std::size_t size, win32::UINT codePage) {
    if (size == 0 || size > 0x7FFFFFFF) {
        return L"";
    }
    int length = win32::MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(size), nullptr, 0);
    if (length <= 0) {
        return L"";
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    win32::MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(size), wide.data(), length);
    return wide;
}

}  // namespace

// ---- CXmlMarkup ------------------------------------------------------------------------------

bool CXmlMarkup::Load(const wchar_t* xml) {
    Release();
    if (!xml) {
        return false;
    }
    std::size_t length = std::wcslen(xml);
    text_.assign(xml, xml + length);
    text_.push_back(L'\0');
    text_.push_back(L'\0');
    if (!Parse()) {
        Release();
        return false;
    }
    return true;
}

bool CXmlMarkup::LoadFromMem(const unsigned char* bytes, std::size_t size, int encoding) {
    std::wstring wide;
    if (encoding == XMLFILE_ENCODING_UTF8) {
        if (size > 2 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
            bytes += 3;
            size -= 3;
        }
        wide = Convert(reinterpret_cast<const char*>(bytes), size, win32::CP_UTF8);
    } else if (encoding == XMLFILE_ENCODING_ASNI) {
        wide = Convert(reinterpret_cast<const char*>(bytes), size, win32::CP_ACP);
    } else if (size >= 2 &&
               ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF))) {
        bool swap = bytes[0] == 0xFE;
        std::size_t units = size / 2 - 1;
        for (std::size_t i = 0; i < units; ++i) {
            const unsigned char* pair = bytes + 2 + i * 2;
            wchar_t unit = swap ? static_cast<wchar_t>(pair[0] << 8 | pair[1])
                                : static_cast<wchar_t>(pair[1] << 8 | pair[0]);
            if (unit == L'\0') {
                break;
            }
            wide += unit;
        }
    }
    return Load(wide.c_str());
}

bool CXmlMarkup::LoadFromFile(const wchar_t* name, int encoding) {
    Release();
    std::vector<unsigned char> bytes;
    std::wstring error;
    if (!LoadSkinFile(name ? name : L"", SkinFileKind::Layout, bytes, error)) {
        SetError(error, L"");
        return false;
    }
    return LoadFromMem(bytes.data(), bytes.size(), encoding);
}

void CXmlMarkup::Release() {
    text_.clear();
    elements_.clear();
    capacity_ = 0;
    attributeRanges_.clear();
    attributes_.clear();
}

CXmlNode CXmlMarkup::GetRoot() const {
    return elements_.size() > 1 ? CXmlNode(this, 1) : CXmlNode();
}

void CXmlMarkup::SetError(const std::wstring& message, const std::wstring& location) {
    errorMessage_ = message.substr(0, kMaxErrorMessage);
    errorLocation_ = location.substr(0, kMaxErrorLocation);
}

bool CXmlMarkup::Fail(const wchar_t* message, std::size_t pos) {
    std::wstring location;
    for (std::size_t i = pos; i < text_.size() && text_[i] != L'\0'; ++i) {
        if (location.size() == kMaxErrorLocation) {
            break;
        }
        location += text_[i];
    }
    SetError(message, location);
    return false;
}

unsigned CXmlMarkup::ReserveElement() {
    if (elements_.size() == capacity_) {
        capacity_ = capacity_ + capacity_ / 2 + 500;
        elements_.reserve(capacity_);
    }
    elements_.push_back({0, 0, 0, 0, 0});
    attributeRanges_.push_back({static_cast<unsigned>(attributes_.size()), 0});
    return static_cast<unsigned>(elements_.size() - 1);
}

void CXmlMarkup::SkipWhitespace(std::size_t& pos) const {
    while (IsWhitespace(text_[pos])) {
        ++pos;
    }
}

void CXmlMarkup::SkipIdentifier(std::size_t& pos) const {
    while (text_[pos] != L'\0' &&
           (text_[pos] == L'_' || text_[pos] == L':' || std::iswalnum(text_[pos]))) {
        ++pos;
    }
}

bool CXmlMarkup::Parse() {
    errorMessage_.clear();
    errorLocation_.clear();
    ReserveElement();
    std::size_t pos = 0;
    return ParseList(pos, 0, 0);
}

bool CXmlMarkup::ParseList(std::size_t& pos, unsigned parent, int depth) {
    if (depth > kMaxDepth) {
        return Fail(L"Elements nested too deeply", pos);
    }
    SkipWhitespace(pos);
    unsigned previous = 0;
    for (;;) {
        if (text_[pos] == L'\0' && parent <= 1) {
            return true;
        }
        SkipWhitespace(pos);
        if (text_[pos] != L'<') {
            return Fail(L"Expected start tag", pos);
        }
        if (text_[pos + 1] == L'/') {
            return true;
        }
        text_[pos++] = L'\0';
        SkipWhitespace(pos);
        // Comments end at the first "->", declarations at the first "?>".
        if (text_[pos] == L'!' || text_[pos] == L'?') {
            wchar_t closer = text_[pos] == L'!' ? L'-' : L'?';
            while (text_[pos] != L'\0' && !(text_[pos] == closer && text_[pos + 1] == L'>')) {
                ++pos;
            }
            if (text_[pos] != L'\0') {
                pos += 2;
            }
            SkipWhitespace(pos);
            continue;
        }
        unsigned index = ReserveElement();
        elements_[index].start = static_cast<unsigned>(pos);
        elements_[index].parent = parent;
        if (previous != 0) {
            elements_[previous].next = index;
        } else if (parent > 0) {
            elements_[parent].child = index;
        }
        previous = index;

        std::size_t nameStart = pos;
        SkipIdentifier(pos);
        std::size_t nameEnd = pos;
        if (text_[pos] == L'\0') {
            return Fail(L"Error parsing element name", pos);
        }
        if (!ParseAttributes(pos, index)) {
            return false;
        }
        SkipWhitespace(pos);
        if (text_[pos] == L'/' && text_[pos + 1] == L'>') {
            elements_[index].data = static_cast<unsigned>(pos);
            text_[pos] = L'\0';
            pos += 2;
        } else {
            if (text_[pos] != L'>') {
                return Fail(L"Expected start-tag closing", pos);
            }
            elements_[index].data = static_cast<unsigned>(++pos);
            std::size_t dest = pos;
            if (!ParseData(pos, dest, L'<')) {
                return false;
            }
            if (dest < pos) {
                text_[dest] = L'\0';
            }
            if (text_[pos] == L'\0' && parent <= 1) {
                text_[nameEnd] = L'\0';
                return true;
            }
            if (text_[pos] != L'<') {
                return Fail(L"Expected end-tag start", pos);
            }
            if (text_[pos + 1] != L'/') {
                if (!ParseList(pos, index, depth + 1)) {
                    return false;
                }
            }
            if (text_[pos] == L'<' && text_[pos + 1] == L'/') {
                text_[pos] = L'\0';
                pos += 2;
                SkipWhitespace(pos);
                std::size_t nameLength = nameEnd - nameStart;
                for (std::size_t i = 0; i < nameLength; ++i) {
                    if (text_[pos + i] != text_[nameStart + i]) {
                        return Fail(L"Unmatched closing tag", pos);
                    }
                }
                pos += nameLength;
                SkipWhitespace(pos);
                if (text_[pos] != L'>') {
                    return Fail(L"Unmatched closing tag", pos + 1);
                }
                ++pos;
            }
        }
        text_[nameEnd] = L'\0';
        SkipWhitespace(pos);
    }
}

bool CXmlMarkup::ParseAttributes(std::size_t& pos, unsigned element) {
    SkipWhitespace(pos);
    while (text_[pos] != L'\0' && text_[pos] != L'>' && text_[pos] != L'/') {
        std::size_t name = pos;
        SkipIdentifier(pos);
        std::size_t nameEnd = pos;
        SkipWhitespace(pos);
        if (text_[pos] != L'=') {
            return Fail(L"Error while parsing attributes", pos);
        }
        ++pos;
        text_[nameEnd] = L'\0';
        SkipWhitespace(pos);
        if (text_[pos] != L'"') {
            return Fail(L"Expected attribute value", pos + 1);
        }
        ++pos;
        std::size_t dest = pos;
        std::size_t value = pos;
        if (!ParseData(pos, dest, L'"')) {
            return false;
        }
        if (text_[pos] == L'\0') {
            return Fail(L"Error while parsing attribute string", pos);
        }
        text_[dest] = L'\0';
        ++pos;
        attributes_.push_back({static_cast<unsigned>(name), static_cast<unsigned>(value)});
        ++attributeRanges_[element].second;
        SkipWhitespace(pos);
    }
    return true;
}

bool CXmlMarkup::ParseData(std::size_t& pos, std::size_t& dest, wchar_t end) {
    while (text_[pos] != L'\0' && text_[pos] != end) {
        if (text_[pos] == L'&') {
            ++pos;
            ParseEntity(pos, dest);
        } else if (!preserveWhitespace_ && IsWhitespace(text_[pos])) {
            text_[dest++] = L' ';
            while (IsWhitespace(text_[pos])) {
                ++pos;
            }
        } else {
            text_[dest++] = text_[pos++];
        }
    }
    return true;
}

void CXmlMarkup::ParseEntity(std::size_t& pos, std::size_t& dest) {
    struct Entity {
        const wchar_t* name;  // with its semicolon
        wchar_t character;
    };
    static const Entity kEntities[] = {
        {L"amp;", L'&'}, {L"lt;", L'<'}, {L"gt;", L'>'}, {L"quot;", L'"'}, {L"apos;", L'\''},
    };
    for (const Entity& entity : kEntities) {
        std::size_t length = std::wcslen(entity.name);
        if (std::wcsncmp(&text_[pos], entity.name, length) == 0) {
            text_[dest++] = entity.character;
            pos += length;
            return;
        }
    }
    // Any other ampersand stays as written.
    text_[dest++] = L'&';
}

// ---- CXmlNode --------------------------------------------------------------------------------

CXmlNode CXmlNode::GetParent() const {
    if (!owner_) {
        return {};
    }
    unsigned parent = owner_->elements_[index_].parent;
    return parent == 0 ? CXmlNode() : CXmlNode(owner_, parent);
}

CXmlNode CXmlNode::GetSibling() const {
    if (!owner_) {
        return {};
    }
    unsigned next = owner_->elements_[index_].next;
    return next == 0 ? CXmlNode() : CXmlNode(owner_, next);
}

CXmlNode CXmlNode::GetChild() const {
    if (!owner_) {
        return {};
    }
    unsigned child = owner_->elements_[index_].child;
    return child == 0 ? CXmlNode() : CXmlNode(owner_, child);
}

bool CXmlNode::HasChildren() const {
    return owner_ && owner_->elements_[index_].child != 0;
}

bool CXmlNode::HasSiblings() const {
    return owner_ && owner_->elements_[index_].next != 0;
}

const wchar_t* CXmlNode::GetName() const {
    return owner_ ? &owner_->text_[owner_->elements_[index_].start] : L"";
}

const wchar_t* CXmlNode::GetValue() const {
    return owner_ ? &owner_->text_[owner_->elements_[index_].data] : L"";
}

void CXmlNode::MapAttributes() const {
    if (mapped_ || !owner_) {
        return;
    }
    mapped_ = true;
    auto [first, count] = owner_->attributeRanges_[index_];
    attributeCount_ = static_cast<int>(std::min<unsigned>(count, kMaxAttributes));
    for (int i = 0; i < attributeCount_; ++i) {
        names_[i] = owner_->attributes_[first + i].name;
        values_[i] = owner_->attributes_[first + i].value;
    }
}

bool CXmlNode::HasAttributes() const {
    return GetAttributeCount() > 0;
}

int CXmlNode::GetAttributeCount() const {
    MapAttributes();
    return attributeCount_;
}

const wchar_t* CXmlNode::GetAttributeName(int index) const {
    MapAttributes();
    return index >= 0 && index < attributeCount_ ? &owner_->text_[names_[index]] : L"";
}

const wchar_t* CXmlNode::GetAttributeValue(int index) const {
    MapAttributes();
    return index >= 0 && index < attributeCount_ ? &owner_->text_[values_[index]] : L"";
}

const wchar_t* CXmlNode::GetAttributeValue(const wchar_t* name) const {
    MapAttributes();
    for (int i = 0; name && i < attributeCount_; ++i) {
        if (std::wcscmp(&owner_->text_[names_[i]], name) == 0) {
            return &owner_->text_[values_[i]];
        }
    }
    return L"";
}

bool CXmlNode::GetAttributeValue(const wchar_t* name, wchar_t* value, std::size_t size) const {
    MapAttributes();
    for (int i = 0; name && i < attributeCount_; ++i) {
        if (std::wcscmp(&owner_->text_[names_[i]], name) == 0) {
            if (value && size > 0) {
                std::wcsncpy(value, &owner_->text_[values_[i]], size - 1);
                value[size - 1] = L'\0';
            }
            return true;
        }
    }
    return false;
}

}  // namespace SkinUI
