#include "download/Downloader.h"

#include "download/CurlDownloader.h"
#include "download/MTCurlDownloader.h"
#include "download/WinDownloader.h"

std::unique_ptr<CDownloader> CreateDownloader(int downloadType, StatusCallback callback,
                                              const wchar_t* url, const wchar_t* destinationPath) {
    switch (downloadType) {
        case 2:
            return std::make_unique<CWinDownloader>(std::move(callback), url, destinationPath);
        case 3:
            return std::make_unique<CMTCurlDownloader>(std::move(callback), url, destinationPath);
        default:
            return std::make_unique<CCurlDownloader>(std::move(callback), url, destinationPath);
    }
}
