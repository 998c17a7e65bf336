// The system downloader: the whole transfer is the system URL download service's, with three
// tries; no resolution, resume or checksum of its own, and never a retry request.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "download/Downloader.h"
#include "platform/UrlMon.h"
#include "utils/Thread.h"

class CWinDownloader : public CDownloader {
  public:
    CWinDownloader(StatusCallback callback, const wchar_t* url, const wchar_t* destinationPath);
    ~CWinDownloader() override;

    void Start() override;  // the worker runs once per downloader

    // Turns the service's progress notifications into DL_CODE_PROGRESS reports.
    class CBindCallback : public win32::IBindStatusCallbackEx {
      public:
        ~CBindCallback() override;

        win32::HRESULT QueryInterface(const win32::IID& iid, void** object) override;
        win32::ULONG AddRef() override;
        win32::ULONG Release() override;
        win32::HRESULT OnStartBinding(win32::DWORD reserved, win32::IBinding* binding) override;
        win32::HRESULT GetPriority(win32::LONG* priority) override;
        win32::HRESULT OnLowResource(win32::DWORD reserved) override;
        win32::HRESULT OnProgress(win32::ULONG progress, win32::ULONG progressMax,
                                  win32::ULONG statusCode, const wchar_t* statusText) override;
        win32::HRESULT OnStopBinding(win32::HRESULT result, const wchar_t* error) override;
        win32::HRESULT GetBindInfo(win32::DWORD* bindFlags, win32::BINDINFO* bindInfo) override;
        win32::HRESULT OnDataAvailable(win32::DWORD flags, win32::DWORD size,
                                       win32::FORMATETC* format, win32::STGMEDIUM* medium) override;
        win32::HRESULT OnObjectAvailable(const win32::IID& iid, void* object) override;
        win32::HRESULT GetBindInfoEx(win32::DWORD* bindFlags, win32::BINDINFO* bindInfo,
                                     win32::DWORD* bindFlags2, win32::DWORD* reserved) override;

        void SetCallback(StatusCallback callback) { callback_ = std::move(callback); }
        // The next progress notification stops the download; only ever goes false to true.
        void Abort() { abort_ = true; }

      private:
        StatusCallback callback_;  // set by Start before the worker runs
        std::atomic<bool> abort_{false};
        win32::IBinding* binding_ = nullptr;  // worker thread only; no reference kept
    };

  private:
    void Run();

    const StatusCallback callback_;
    const std::wstring url_;
    const std::wstring destinationPath_;
    CBindCallback bindCallback_;
    bool resumed_ = false;    // the owner's thread only
    bool discarded_ = false;  // set before the worker is resumed, so the worker sees it
    std::unique_ptr<Utils::Thread> worker_;
};
