#include <gtest/gtest.h>

#include <string>

#include "skinui/XmlMarkup.h"

using SkinUI::CXmlMarkup;
using SkinUI::CXmlNode;

namespace {

// The element tree as "name(attr=value,...)[children]" for compact comparisons.
std::wstring Tree(const CXmlNode& first) {
    std::wstring out;
    for (CXmlNode node = first; node.IsValid(); node = node.GetSibling()) {
        out += node.GetName();
        if (node.HasAttributes()) {
            out += L"(";
            for (int i = 0; i < node.GetAttributeCount(); ++i) {
                out += std::wstring(i ? L"," : L"") + node.GetAttributeName(i) + L"=" +
                       node.GetAttributeValue(i);
            }
            out += L")";
        }
        if (*node.GetValue()) {
            out += std::wstring(L"'") + node.GetValue() + L"'";
        }
        if (node.HasChildren()) {
            out += L"[" + Tree(node.GetChild()) + L"]";
        }
        if (node.HasSiblings()) {
            out += L" ";
        }
    }
    return out;
}

}  // namespace

TEST(XmlMarkup, ParseErrorsWithTheirLocations) {
    struct Case {
        const wchar_t* xml;
        const wchar_t* message;
        const wchar_t* location;
    };
    const Case cases[] = {
        {L"text", L"Expected start tag", L"text"},
        {L"<a><b><c></c>", L"Expected start tag", L""},
        {L"<a><b><c>", L"Expected end-tag start", L""},
        {L"<a", L"Error parsing element name", L""},
        {L"<a x>", L"Error while parsing attributes", L">"},
        {L"<a x=y>", L"Expected attribute value", L">"},
        {L"<a x='y'>", L"Expected attribute value", L"y'>"},
        {L"<a x=\"y>", L"Error while parsing attribute string", L""},
        {L"<a x=\"y\" ?>", L"Error while parsing attributes", L"?>"},
        {L"<a/ >", L"Expected start-tag closing", L"/ >"},
        {L"<a></ab>", L"Unmatched closing tag", L">"},
        {L"<a></b>", L"Unmatched closing tag", L"b>"},
        {L"<a><b></b></a> junk", L"Expected start tag", L"junk"},
    };
    for (const Case& c : cases) {
        CXmlMarkup markup;
        EXPECT_FALSE(markup.Load(c.xml)) << c.message;
        EXPECT_EQ(markup.GetLastErrorMessage(), c.message)
            << std::string(c.xml, c.xml + std::wcslen(c.xml));
        EXPECT_EQ(markup.GetLastErrorLocation(), c.location) << c.message;
        EXPECT_FALSE(markup.GetRoot().IsValid());
    }
}

TEST(XmlMarkup, ToleratedForms) {
    struct Case {
        const wchar_t* xml;
        const wchar_t* tree;
    };
    const Case cases[] = {
        {L"<a/>", L"a"},
        {L"<a />", L"a"},
        {L"<a></a>", L"a"},
        {L"<a><b/><c x=\"1\"/></a>", L"a[b c(x=1)]"},
        {L"<?xml version=\"1.0\" encoding=\"gbk\"?>\r\n<a/>", L"a"},
        {L"<!-- c --><a><!-- inner --><b/></a>", L"a[b]"},
        {L"<a><b></b>", L"a[b]"},
        {L"<a>text<b/>", L"a'text'[b]"},
        {L"<a x = \"1\"\ty=\"2\"></a >", L"a(x=1,y=2)"},
        {L"<a v=\"it's 'q'\"/>", L"a(v=it's 'q')"},
        {L"<a v=\"&amp;&lt;&gt;&quot;&apos;\"/>", L"a(v=&<>\"')"},
        {L"<a v=\"&copy; &amp\"/>", L"a(v=&copy; &amp)"},
        {L"<a>x &amp; y</a>", L"a'x & y'"},
        {L"<a/><b/>", L"a b"},
    };
    for (const Case& c : cases) {
        CXmlMarkup markup;
        ASSERT_TRUE(markup.Load(c.xml)) << std::string(c.xml, c.xml + std::wcslen(c.xml));
        EXPECT_EQ(Tree(markup.GetRoot()), c.tree);
    }
}

TEST(XmlMarkup, ACommentEndsAtTheFirstHyphenBeforeAGreaterThanSign) {
    CXmlMarkup markup;
    ASSERT_TRUE(markup.Load(L"<a><!-- x-y - z --><c/></a>"));
    EXPECT_EQ(Tree(markup.GetRoot()), L"a[c]");
    CXmlMarkup early;
    ASSERT_TRUE(early.Load(L"<a><!-- x -><b/><c/></a>"));
    EXPECT_EQ(Tree(early.GetRoot()), L"a[b c]");
    // What follows the early end, "<b/> y -->", is read as markup and fails.
    CXmlMarkup broken;
    EXPECT_FALSE(broken.Load(L"<a><!-- x -><b/> y --><c/></a>"));
    EXPECT_EQ(broken.GetLastErrorMessage(), L"Expected start tag");
}

TEST(XmlMarkup, OnlyTheFirst64AttributesAreSeen) {
    std::wstring xml = L"<a";
    for (int i = 0; i < 65; ++i) {
        xml += L" k" + std::to_wstring(i) + L"=\"" + std::to_wstring(i) + L"\"";
    }
    xml += L"/>";
    CXmlMarkup markup;
    ASSERT_TRUE(markup.Load(xml.c_str()));
    CXmlNode root = markup.GetRoot();
    EXPECT_EQ(root.GetAttributeCount(), 64);
    EXPECT_STREQ(root.GetAttributeValue(L"k63"), L"63");
    EXPECT_STREQ(root.GetAttributeValue(L"k64"), L"");
    EXPECT_STREQ(root.GetAttributeName(64), L"");
    EXPECT_STREQ(root.GetAttributeValue(-1), L"");
    wchar_t small[3];
    EXPECT_TRUE(root.GetAttributeValue(L"k12", small, 3));
    EXPECT_STREQ(small, L"12");
    EXPECT_TRUE(root.GetAttributeValue(L"k0", small, 1));
    EXPECT_STREQ(small, L"");
    EXPECT_FALSE(root.GetAttributeValue(L"K0", small, 3)) << "names are case-sensitive";
}

TEST(XmlMarkup, EncodingsAndTheByteOrderMark) {
    const std::string utf8 = "<Window text=\"立即安装\"/>";
    const std::string withBom = "\xEF\xBB\xBF" + utf8;
    for (const std::string& bytes : {utf8, withBom}) {
        CXmlMarkup markup;
        ASSERT_TRUE(
            markup.LoadFromMem(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
        EXPECT_STREQ(markup.GetRoot().GetAttributeValue(L"text"), L"立即安装");
    }
    std::u16string text = u"<a b=\"\u4E2D\"/>";
    for (bool bigEndian : {false, true}) {
        std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (char16_t unit : text) {
            char hi = static_cast<char>(unit >> 8), lo = static_cast<char>(unit & 0xFF);
            bytes += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
        }
        CXmlMarkup markup;
        ASSERT_TRUE(markup.LoadFromMem(reinterpret_cast<const unsigned char*>(bytes.data()),
                                       bytes.size(), CXmlMarkup::XMLFILE_ENCODING_UNICODE));
        EXPECT_STREQ(markup.GetRoot().GetAttributeValue(L"b"), L"中");
    }
    CXmlMarkup unmarked;
    const unsigned char noMark[] = {'<', 0, 'a', 0, '/', 0, '>', 0};
    unmarked.LoadFromMem(noMark, sizeof noMark, CXmlMarkup::XMLFILE_ENCODING_UNICODE);
    EXPECT_FALSE(unmarked.GetRoot().IsValid());
}

TEST(XmlMarkup, DeepNestingFailsInsteadOfExhaustingTheStack) {
    std::wstring deep;
    for (int i = 0; i < 200000; ++i) {
        deep += L"<a>";
    }
    CXmlMarkup markup;
    EXPECT_FALSE(markup.Load(deep.c_str()));
    EXPECT_EQ(markup.GetLastErrorMessage(), L"Elements nested too deeply");
    std::wstring fits;
    for (int i = 0; i < CXmlMarkup::kMaxDepth; ++i) {
        fits = L"<a>" + fits + L"</a>";
    }
    EXPECT_TRUE(markup.Load(fits.c_str())) << markup.GetLastErrorMessage().size();
}

TEST(XmlMarkup, NodesWalkTheTree) {
    CXmlMarkup markup;
    ASSERT_TRUE(markup.Load(L"<w><x/><y><z/></y></w>"));
    CXmlNode w = markup.GetRoot();
    CXmlNode y = w.GetChild().GetSibling();
    EXPECT_STREQ(y.GetName(), L"y");
    EXPECT_STREQ(y.GetChild().GetParent().GetName(), L"y");
    EXPECT_FALSE(w.GetParent().IsValid());
    EXPECT_FALSE(y.GetSibling().IsValid());
    CXmlNode invalid;
    EXPECT_STREQ(invalid.GetName(), L"");
    EXPECT_EQ(invalid.GetAttributeCount(), 0);
    EXPECT_FALSE(invalid.GetChild().IsValid());
}
