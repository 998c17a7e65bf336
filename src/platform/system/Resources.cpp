#include "platform/Resources.h"

#include <cwchar>
#include <mutex>
#include <vector>

namespace win32 {

namespace {

struct Table {
    std::mutex mutex;  // guards entries (registrations run during static initialisation)
    std::vector<const ResourceEntry*> entries;
};

Table& Resources() {
    static Table table;
    return table;
}

bool TypeMatches(const ResourceEntry& entry, const wchar_t* type) {
    if (IS_INTRESOURCE(type)) {
        return IS_INTRESOURCE(entry.type) && entry.type == type;
    }
    return !IS_INTRESOURCE(entry.type) && std::wcscmp(entry.type, type) == 0;
}

}  // namespace

ResourceTableRegistration::ResourceTableRegistration(const ResourceEntry* entries,
                                                     std::size_t count) {
    std::lock_guard<std::mutex> lock(Resources().mutex);
    for (std::size_t i = 0; i < count; ++i) {
        Resources().entries.push_back(&entries[i]);
    }
}

HRSRC FindResourceW(HMODULE, const wchar_t* name, const wchar_t* type) {
    if (!IS_INTRESOURCE(name) || type == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const int id = static_cast<int>(reinterpret_cast<std::uintptr_t>(name));
    std::lock_guard<std::mutex> lock(Resources().mutex);
    for (const ResourceEntry* entry : Resources().entries) {
        if (entry->id == id && TypeMatches(*entry, type)) {
            return entry;
        }
    }
    SetLastError(1813);  // ERROR_RESOURCE_TYPE_NOT_FOUND
    return nullptr;
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) {
    return resource != nullptr ? resource->begin : nullptr;
}

const void* LockResource(HGLOBAL data) {
    return data;
}

DWORD SizeofResource(HMODULE, HRSRC resource) {
    return resource != nullptr ? static_cast<DWORD>(resource->end - resource->begin) : 0;
}

}  // namespace win32
