#include "platform/Com.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/random.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace win32 {

namespace {

thread_local int comInitialisations = 0;

bool SameGuid(const GUID& a, const GUID& b) {
    return std::memcmp(&a, &b, sizeof(GUID)) == 0;
}

// A default route in the kernel's table ("/proc/net/route": destination and mask zero, up).
bool HasIpv4DefaultRoute() {
    std::ifstream routes("/proc/net/route");
    std::string line;
    std::getline(routes, line);  // header
    while (std::getline(routes, line)) {
        std::istringstream fields(line);
        std::string interface, destination, gateway, mask;
        unsigned flags = 0;
        unsigned long skip;
        fields >> interface >> destination >> gateway >> std::hex >> flags >> std::dec >> skip >>
            skip >> skip >> mask;
        if (interface != "lo" && destination == "00000000" && mask == "00000000" && (flags & 1)) {
            return true;
        }
    }
    return false;
}

bool HasIpv6DefaultRoute() {
    std::ifstream routes("/proc/net/ipv6_route");
    std::string destination, length, source, sourceLength, next, metric, ref, use, flags, device;
    while (routes >> destination >> length >> source >> sourceLength >> next >> metric >> ref >>
           use >> flags >> device) {
        if (destination == std::string(32, '0') && length == "00" && device != "lo" &&
            next != std::string(32, '0')) {
            return true;
        }
    }
    return false;
}

class NetworkListManager final : public INetworkListManager {
  public:
    HRESULT GetConnectivity(NLM_CONNECTIVITY* connectivity) override {
        if (connectivity == nullptr) {
            return E_INVALIDARG;
        }
        DWORD flags = NLM_CONNECTIVITY_DISCONNECTED;
        ifaddrs* list = nullptr;
        if (::getifaddrs(&list) == 0) {
            for (ifaddrs* item = list; item != nullptr; item = item->ifa_next) {
                const unsigned up = IFF_UP | IFF_RUNNING;
                if (item->ifa_addr == nullptr || (item->ifa_flags & up) != up ||
                    (item->ifa_flags & IFF_LOOPBACK) != 0) {
                    continue;
                }
                if (item->ifa_addr->sa_family == AF_INET) {
                    flags |= NLM_CONNECTIVITY_IPV4_LOCALNETWORK;
                } else if (item->ifa_addr->sa_family == AF_INET6) {
                    flags |= NLM_CONNECTIVITY_IPV6_LOCALNETWORK;
                }
            }
            ::freeifaddrs(list);
        }
        if ((flags & NLM_CONNECTIVITY_IPV4_LOCALNETWORK) != 0 && HasIpv4DefaultRoute()) {
            flags |= NLM_CONNECTIVITY_IPV4_INTERNET;
        }
        if ((flags & NLM_CONNECTIVITY_IPV6_LOCALNETWORK) != 0 && HasIpv6DefaultRoute()) {
            flags |= NLM_CONNECTIVITY_IPV6_INTERNET;
        }
        *connectivity = static_cast<NLM_CONNECTIVITY>(flags);
        return S_OK;
    }

    HRESULT get_IsConnectedToInternet(VARIANT_BOOL* connected) override {
        NLM_CONNECTIVITY flags;
        const HRESULT result = GetConnectivity(&flags);
        if (FAILED(result) || connected == nullptr) {
            return FAILED(result) ? result : E_INVALIDARG;
        }
        const DWORD internet = NLM_CONNECTIVITY_IPV4_INTERNET | NLM_CONNECTIVITY_IPV6_INTERNET;
        *connected = (flags & internet) != 0 ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }

    DWORD Release() override {
        delete this;
        return 0;
    }
};

}  // namespace

const CLSID CLSID_NetworkListManager = {
    0xDCB00C01, 0x570F, 0x4A9B, {0x8D, 0x69, 0x19, 0x9F, 0xDB, 0xA5, 0x72, 0x3B}};
const IID IID_INetworkListManager = {
    0xDCB00000, 0x570F, 0x4A9B, {0x8D, 0x69, 0x19, 0x9F, 0xDB, 0xA5, 0x72, 0x3B}};

HRESULT CoInitializeEx(void*, DWORD) {
    return comInitialisations++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize() {
    if (comInitialisations > 0) {
        --comInitialisations;
    }
}

void CoFreeUnusedLibraries() {}

HRESULT CoCreateGuid(GUID* guid) {
    if (guid == nullptr) {
        return E_INVALIDARG;
    }
    BYTE bytes[16];
    if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
        return E_FAIL;
    }
    bytes[6] = static_cast<BYTE>((bytes[6] & 0x0F) | 0x40);  // version 4
    bytes[8] = static_cast<BYTE>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
    guid->Data1 =
        (DWORD{bytes[0]} << 24) | (DWORD{bytes[1]} << 16) | (DWORD{bytes[2]} << 8) | bytes[3];
    guid->Data2 = static_cast<WORD>((bytes[4] << 8) | bytes[5]);
    guid->Data3 = static_cast<WORD>((bytes[6] << 8) | bytes[7]);
    std::memcpy(guid->Data4, bytes + 8, 8);
    return S_OK;
}

HRESULT CoCreateInstance(const CLSID& clsid, void*, DWORD, const IID& iid, void** object) {
    if (object == nullptr) {
        return E_INVALIDARG;
    }
    *object = nullptr;
    if (comInitialisations == 0) {
        return CO_E_NOTINITIALIZED;
    }
    if (!SameGuid(clsid, CLSID_NetworkListManager)) {
        return static_cast<HRESULT>(0x80040154u);  // REGDB_E_CLASSNOTREG
    }
    if (!SameGuid(iid, IID_INetworkListManager)) {
        return E_NOINTERFACE;
    }
    *object = static_cast<INetworkListManager*>(new NetworkListManager());
    return S_OK;
}

}  // namespace win32
