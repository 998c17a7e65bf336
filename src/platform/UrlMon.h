// The system URL download service: one address into one file, with progress reported to a
// binding-status callback that can stop the transfer.
#pragma once

#include "platform/Com.h"
#include "platform/Types.h"

namespace win32 {

using ULONG = DWORD;

// Results besides S_OK and E_ABORT (the callback asked to stop).
constexpr HRESULT INET_E_INVALID_URL = static_cast<HRESULT>(0x800C0002u);
constexpr HRESULT INET_E_CANNOT_CONNECT = static_cast<HRESULT>(0x800C0004u);
constexpr HRESULT INET_E_RESOURCE_NOT_FOUND = static_cast<HRESULT>(0x800C0005u);
constexpr HRESULT INET_E_OBJECT_NOT_FOUND = static_cast<HRESULT>(0x800C0006u);
constexpr HRESULT INET_E_DOWNLOAD_FAILURE = static_cast<HRESULT>(0x800C0008u);
constexpr HRESULT INET_E_CONNECTION_TIMEOUT = static_cast<HRESULT>(0x800C000Bu);
constexpr HRESULT INET_E_INVALID_CERTIFICATE = static_cast<HRESULT>(0x800C0019u);
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);

// The status codes of OnProgress.
constexpr ULONG BINDSTATUS_CONNECTING = 2;
constexpr ULONG BINDSTATUS_BEGINDOWNLOADDATA = 4;
constexpr ULONG BINDSTATUS_DOWNLOADINGDATA = 5;
constexpr ULONG BINDSTATUS_ENDDOWNLOADDATA = 6;

struct BINDINFO {
    ULONG cbSize;
    wchar_t* szExtraInfo;
    DWORD grfBindInfoF;
    DWORD dwBindVerb;
    wchar_t* szCustomVerb;
    DWORD cbstgmedData;
    DWORD dwOptions;
    DWORD dwOptionsFlags;
    DWORD dwCodePage;  // how the address's non-ASCII characters are sent
};

struct FORMATETC;
struct STGMEDIUM;

class IBinding {
  public:
    virtual HRESULT Abort() = 0;

  protected:
    virtual ~IBinding() = default;
};

// Slots in the order the service's callers implement them.
class IBindStatusCallback {
  public:
    virtual HRESULT QueryInterface(const IID& iid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
    virtual HRESULT OnStartBinding(DWORD reserved, IBinding* binding) = 0;
    virtual HRESULT GetPriority(LONG* priority) = 0;
    virtual HRESULT OnLowResource(DWORD reserved) = 0;
    // Returning E_ABORT stops the download, which then fails with E_ABORT.
    virtual HRESULT OnProgress(ULONG progress, ULONG progressMax, ULONG statusCode,
                               const wchar_t* statusText) = 0;
    virtual HRESULT OnStopBinding(HRESULT result, const wchar_t* error) = 0;
    virtual HRESULT GetBindInfo(DWORD* bindFlags, BINDINFO* bindInfo) = 0;
    virtual HRESULT OnDataAvailable(DWORD flags, DWORD size, FORMATETC* format,
                                    STGMEDIUM* medium) = 0;
    virtual HRESULT OnObjectAvailable(const IID& iid, void* object) = 0;

  protected:
    virtual ~IBindStatusCallback() = default;
};

class IBindStatusCallbackEx : public IBindStatusCallback {
  public:
    virtual HRESULT GetBindInfoEx(DWORD* bindFlags, BINDINFO* bindInfo, DWORD* bindFlags2,
                                  DWORD* reserved) = 0;
};

// Downloads url (an encoded address, or "file:///" and a local path) into fileName, which is
// written only when the whole resource has arrived. OnProgress is called when the data begins,
// at most every 100 ms while it arrives (and once a second while it stalls), and when it ends;
// progressMax is 0 while the size is unknown. HTTP statuses of 400 and more fail the download.
HRESULT URLDownloadToFileW(void* caller, const wchar_t* url, const wchar_t* fileName,
                           DWORD reserved, IBindStatusCallback* callback);

}  // namespace win32
