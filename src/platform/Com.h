// The few COM services the installer uses: per-thread initialisation, GUIDs, and the network
// list manager, which answers from the interfaces that are up (connectivity) and the default
// route (internet).
#pragma once

#include "platform/Types.h"

namespace win32 {

struct GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
};
using CLSID = GUID;
using IID = GUID;

constexpr DWORD COINIT_APARTMENTTHREADED = 0x2;
constexpr DWORD COINIT_MULTITHREADED = 0x0;
constexpr DWORD CLSCTX_ALL = 0x17;

HRESULT CoInitializeEx(void* reserved, DWORD flags);
void CoUninitialize();
void CoFreeUnusedLibraries();

// A random (version 4) identifier.
HRESULT CoCreateGuid(GUID* guid);

extern const CLSID CLSID_NetworkListManager;
extern const IID IID_INetworkListManager;

using VARIANT_BOOL = short;
constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

enum NLM_CONNECTIVITY : DWORD {
    NLM_CONNECTIVITY_DISCONNECTED = 0,
    NLM_CONNECTIVITY_IPV4_NOTRAFFIC = 0x1,
    NLM_CONNECTIVITY_IPV6_NOTRAFFIC = 0x2,
    NLM_CONNECTIVITY_IPV4_SUBNET = 0x10,
    NLM_CONNECTIVITY_IPV4_LOCALNETWORK = 0x20,
    NLM_CONNECTIVITY_IPV4_INTERNET = 0x40,
    NLM_CONNECTIVITY_IPV6_SUBNET = 0x100,
    NLM_CONNECTIVITY_IPV6_LOCALNETWORK = 0x200,
    NLM_CONNECTIVITY_IPV6_INTERNET = 0x400,
};

class INetworkListManager {
  public:
    virtual HRESULT GetConnectivity(NLM_CONNECTIVITY* connectivity) = 0;
    virtual HRESULT get_IsConnectedToInternet(VARIANT_BOOL* connected) = 0;
    virtual DWORD Release() = 0;

  protected:
    virtual ~INetworkListManager() = default;
};

// Fails with CO_E_NOTINITIALIZED on a thread that has not called CoInitializeEx.
HRESULT CoCreateInstance(const CLSID& clsid, void* outer, DWORD context, const IID& iid,
                         void** object);

}  // namespace win32
