// libFuzzer target: the layout parser on arbitrary bytes, as UTF-8 and as UTF-16, and a walk
// over every node and attribute it reports.
#include <cstddef>
#include <cstdint>

#include "skinui/XmlMarkup.h"

namespace {

void Walk(const SkinUI::CXmlNode& first, int depth) {
    for (SkinUI::CXmlNode node = first; node.IsValid() && depth < 256; node = node.GetSibling()) {
        volatile wchar_t sink = *node.GetName() + *node.GetValue();
        for (int i = 0; i <= node.GetAttributeCount(); ++i) {
            sink = sink + *node.GetAttributeName(i) + *node.GetAttributeValue(i);
        }
        wchar_t buffer[4];
        node.GetAttributeValue(L"name", buffer, 4);
        Walk(node.GetChild(), depth + 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (int encoding : {SkinUI::CXmlMarkup::XMLFILE_ENCODING_UTF8,
                         SkinUI::CXmlMarkup::XMLFILE_ENCODING_UNICODE}) {
        SkinUI::CXmlMarkup markup;
        if (markup.LoadFromMem(data, size, encoding)) {
            Walk(markup.GetRoot(), 0);
        } else if (markup.GetLastErrorMessage().size() > 99 ||
                   markup.GetLastErrorLocation().size() > 49) {
            __builtin_trap();
        }
    }
    return 0;
}
