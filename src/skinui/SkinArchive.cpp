#include "skinui/SkinArchive.h"

#include <archive.h>
#include <archive_entry.h>
#include <locale.h>

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <memory>

#include "platform/Files.h"

namespace SkinUI {

namespace {

constexpr int kFound = 0;
constexpr int kNotFound = 1;

// libarchive converts the archive's UTF-16 names through the thread's C locale, and gives no
// name at all for non-ASCII ones under "C". Reading with a UTF-8 locale on this thread only
// leaves the rest of the process alone.
class Utf8NamesOnThisThread {
  public:
    Utf8NamesOnThisThread() : locale_(newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr)) {
        if (locale_) {
            previous_ = uselocale(locale_);
        }
    }
    ~Utf8NamesOnThisThread() {
        if (locale_) {
            uselocale(previous_);
            freelocale(locale_);
        }
    }
    Utf8NamesOnThisThread(const Utf8NamesOnThisThread&) = delete;
    Utf8NamesOnThisThread& operator=(const Utf8NamesOnThisThread&) = delete;

  private:
    locale_t locale_;
    locale_t previous_ = nullptr;
};

struct ArchiveReader {
    archive* handle = archive_read_new();
    ~ArchiveReader() { archive_read_free(handle); }
};

// Reserving more than this for one entry waits for the bytes to arrive.
constexpr std::uint64_t kMaxReserve = 64ull * 1024 * 1024;

// Appends the decoder's own blocks, so that each byte is copied once. The recorded size only
// bounds what is reserved up front: a damaged archive may put it far beyond what it holds.
bool ReadData(archive* reader, std::vector<unsigned char>& data, std::uint64_t size) {
    if (size > 0xFFFFFFFFull) {
        return false;
    }
    data.reserve(static_cast<std::size_t>(std::min(size, kMaxReserve)));
    for (;;) {
        const void* block = nullptr;
        std::size_t length = 0;
        la_int64_t offset = 0;
        int status = archive_read_data_block(reader, &block, &length, &offset);
        if (status == ARCHIVE_EOF) {
            return data.size() == size;
        }
        // 7z stores no holes, so every block starts where the previous one ended.
        if (status != ARCHIVE_OK || offset != static_cast<la_int64_t>(data.size()) ||
            data.size() + length > size) {
            return false;
        }
        const auto* bytes = static_cast<const unsigned char*>(block);
        data.insert(data.end(), bytes, bytes + length);
    }
}

// Reads every file entry; false when not even the archive's header could be read.
bool ReadEntries(archive* reader, std::vector<SkinEntry>& entries) {
    Utf8NamesOnThisThread names;
    archive_entry* entry = nullptr;
    for (int index = 0;; ++index) {
        int status = archive_read_next_header(reader, &entry);
        if (status == ARCHIVE_EOF) {
            return true;
        }
        if (status < ARCHIVE_WARN) {
            return index > 0;
        }
        if (archive_entry_filetype(entry) == AE_IFDIR) {
            continue;
        }
        const wchar_t* name = archive_entry_pathname_w(entry);
        SkinEntry skin{name ? name : L"", 0, index, {}, 0};
        skin.nameLength = skin.name.size() + 1;
        skin.size = archive_entry_size_is_set(entry)
                        ? static_cast<std::uint64_t>(archive_entry_size(entry))
                        : 0;
        if (!name || !ReadData(reader, skin.data, skin.size)) {
            return true;
        }
        entries.push_back(std::move(skin));
    }
}

bool SameName(const std::wstring& a, const std::wstring& b) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::towlower(a[i]) != std::towlower(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

CSkinArchive* CSkinArchive::OpenFromMemory(const void* bytes, std::size_t length) {
    if (!bytes || length == 0) {
        return nullptr;
    }
    ArchiveReader reader;
    archive_read_support_format_7zip(reader.handle);
    if (archive_read_open_memory(reader.handle, bytes, length) != ARCHIVE_OK) {
        return nullptr;
    }
    std::unique_ptr<CSkinArchive> skin(new CSkinArchive);
    if (!ReadEntries(reader.handle, skin->entries_)) {
        return nullptr;
    }
    return skin.release();
}

CSkinArchive* CSkinArchive::OpenFromFile(const std::wstring& path) {
    ArchiveReader reader;
    archive_read_support_format_7zip(reader.handle);
    if (archive_read_open_filename(reader.handle, win32::NativePath(path).c_str(), 64 * 1024) !=
        ARCHIVE_OK) {
        return nullptr;
    }
    std::unique_ptr<CSkinArchive> skin(new CSkinArchive);
    if (!ReadEntries(reader.handle, skin->entries_)) {
        return nullptr;
    }
    return skin.release();
}

void CSkinArchive::Close(CSkinArchive* archive) {
    delete archive;
}

int CSkinArchive::Find(const wchar_t* name, int* index, std::uint64_t* size) const {
    if (!name) {
        return kNotFound;
    }
    std::wstring wanted(name);
    for (wchar_t& c : wanted) {
        if (c == L'\\') {
            c = L'/';
        }
    }
    for (const SkinEntry& entry : entries_) {
        if (entry.nameLength == wanted.size() + 1 && SameName(entry.name, wanted)) {
            if (index) {
                *index = entry.index;
            }
            if (size) {
                *size = entry.size;
            }
            return kFound;
        }
    }
    return kNotFound;
}

int CSkinArchive::Extract(int index, void* destination) const {
    const std::vector<unsigned char>* data = Data(index);
    if (!data) {
        return kNotFound;
    }
    if (!data->empty()) {
        std::memcpy(destination, data->data(), static_cast<std::uint32_t>(data->size()));
    }
    return kFound;
}

const std::vector<unsigned char>* CSkinArchive::Data(int index) const {
    for (const SkinEntry& entry : entries_) {
        if (entry.index == index) {
            return &entry.data;
        }
    }
    return nullptr;
}

}  // namespace SkinUI
