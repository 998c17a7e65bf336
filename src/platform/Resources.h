// The resource table compiled into the executable (cmake: quillon_embed_resources).
#pragma once

#include <cstddef>

#include "platform/Types.h"

namespace win32 {

struct ResourceEntry {
    const wchar_t* type;
    int id;
    const unsigned char* begin;
    const unsigned char* end;
};

// One per embedding target, constructed during static initialisation.
class ResourceTableRegistration {
  public:
    ResourceTableRegistration(const ResourceEntry* entries, std::size_t count);
};

using HRSRC = const ResourceEntry*;
using HGLOBAL = const void*;

constexpr const wchar_t* MAKEINTRESOURCEW(int id) {
    return reinterpret_cast<const wchar_t*>(static_cast<std::uintptr_t>(id));
}
constexpr bool IS_INTRESOURCE(const wchar_t* name) {
    return (reinterpret_cast<std::uintptr_t>(name) >> 16) == 0;
}

constexpr int RT_ICON_ID = 3;
constexpr int RT_GROUP_ICON_ID = 14;
inline const wchar_t* const RT_ICON = MAKEINTRESOURCEW(RT_ICON_ID);
inline const wchar_t* const RT_GROUP_ICON = MAKEINTRESOURCEW(RT_GROUP_ICON_ID);

// name is MAKEINTRESOURCEW(id); type is a type name (L"ZIPRES") or MAKEINTRESOURCEW(id).
HRSRC FindResourceW(HMODULE module, const wchar_t* name, const wchar_t* type);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
const void* LockResource(HGLOBAL data);
DWORD SizeofResource(HMODULE module, HRSRC resource);

}  // namespace win32
