// The skin's 7z archive, fully decoded into memory when it is opened.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace SkinUI {

struct SkinEntry {
    std::wstring name;       // as stored, "/" between folders
    std::size_t nameLength;  // characters including the terminating zero
    int index;               // position in the archive, directories counted
    std::vector<unsigned char> data;
    std::uint64_t size;  // as recorded in the archive
};

class CSkinArchive {
  public:
    // Both return null when the archive cannot be read at all. When the extraction of an entry
    // fails, the entries before it are kept and the rest are left out.
    static CSkinArchive* OpenFromMemory(const void* bytes, std::size_t length);
    static CSkinArchive* OpenFromFile(const std::wstring& path);
    static void Close(CSkinArchive* archive);

    // 0 on success. Names match ignoring case, with "\\" read as "/", over their whole length.
    int Find(const wchar_t* name, int* index, std::uint64_t* size) const;
    // Copies the entry's whole size into destination; 0 on success.
    int Extract(int index, void* destination) const;
    // The entry's bytes where the archive keeps them, or null for no such index.
    const std::vector<unsigned char>* Data(int index) const;

    const std::vector<SkinEntry>& Entries() const { return entries_; }

  private:
    CSkinArchive() = default;
    std::vector<SkinEntry> entries_;
};

}  // namespace SkinUI
