// libFuzzer target: the skin archive reader on arbitrary bytes, then lookups and extraction of
// every entry it kept.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "skinui/SkinArchive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SkinUI::CSkinArchive* archive = SkinUI::CSkinArchive::OpenFromMemory(data, size);
    if (!archive) {
        return 0;
    }
    for (const SkinUI::SkinEntry& entry : archive->Entries()) {
        int index = -1;
        std::uint64_t found = 0;
        if (archive->Find(entry.name.c_str(), &index, &found) != 0 || found != entry.data.size()) {
            __builtin_trap();
        }
        std::vector<unsigned char> copy(static_cast<std::size_t>(found));
        archive->Extract(index, copy.data());
    }
    archive->Find(L"MainWnd.XML", nullptr, nullptr);
    SkinUI::CSkinArchive::Close(archive);
    return 0;
}
