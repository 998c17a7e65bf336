// The status codes a downloader reports through its StatusCallback, and their fixed texts.
#pragma once

constexpr int DL_CODE_START = 1001;     // value 1.0; first report of every attempt
constexpr int DL_CODE_PROGRESS = 1002;  // value: fraction done
constexpr int DL_CODE_SUCCESS = 1003;   // terminal: the file is complete at the destination
constexpr int DL_CODE_FAIL = 1004;      // terminal: value is the failing transport code
constexpr int DL_CODE_RETRY = 1005;     // terminal for this attempt: the owner calls Start again
constexpr int DL_CODE_REASON = 1006;    // diagnostic text; always followed by a terminal code

inline constexpr wchar_t kLibCurlText[] = L"LibCurl";
inline constexpr wchar_t kUrlDownloadToFileText[] = L"URLDownloadToFile";

inline constexpr wchar_t kCurlChecksumMissingReason[] = L"curl获取url-md5失败";
inline constexpr wchar_t kCurlChecksumMismatchReason[] = L"curl文件md5校验失败";
inline constexpr wchar_t kMTCurlChecksumMissingReason[] = L"mtcurl获取url-md5失败";
inline constexpr wchar_t kMTCurlChecksumMismatchReason[] = L"mtcurl文件md5校验失败";

inline bool IsTerminalDownloadStatus(int code) {
    return code == DL_CODE_SUCCESS || code == DL_CODE_FAIL || code == DL_CODE_RETRY;
}
