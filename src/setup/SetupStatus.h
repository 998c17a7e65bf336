// The catalogue of statuses the setup reports to its owner: the downloader's 1001-1006, the
// package runner's 2001-2004 and 3000-3009, the uninstall runner's 5002-5005.
#pragma once

#include "download/DownloadStatus.h"

constexpr int IST_CODE_START = 2001;
constexpr int IST_CODE_PROGRESS = 2002;  // 0.0 at start, then the package's "Progress=" number
constexpr int IST_CODE_SUCCESS = 2003;   // 0.0 after "State=Success", 1.0 without a final state
constexpr int IST_CODE_FAIL = 2004;      // 0.0 after "State=Fail", 1000.0 after "Error=", 2.0

constexpr int IST_INFO_INSTPATH = 3000;
constexpr int IST_INFO_EXEPATH = 3001;
constexpr int IST_INFO_UNINSTEXE = 3002;
constexpr int IST_INFO_UNINSTEP = 3003;
constexpr int IST_INFO_STARTURL = 3004;
constexpr int IST_INFO_STARTUPSTYLE = 3005;
constexpr int IST_INFO_TOPSHOW = 3007;
constexpr int IST_INFO_FINISHCLOSE = 3008;
constexpr int IST_INFO_MESSAGE = 3009;

constexpr int UNIST_CODE_PROGRESS = 5002;
constexpr int UNIST_CODE_SUCCESS = 5003;  // 0.0 after "State=Success", 1.0 without a final state
constexpr int UNIST_CODE_FAIL = 5004;     // 1.0: no uninstaller copy; 2.0: cannot be started
constexpr int UNIST_CODE_ERROR = 5005;

// The values that say why a child ended the setup.
constexpr double kFailPackageState = 0.0;
constexpr double kFailPackageError = 1000.0;
constexpr double kFailNotStarted = 2.0;
constexpr double kFailUninstallerMissing = 1.0;
constexpr double kEndedWithoutFinalState = 1.0;

inline constexpr wchar_t kPackageFailedText[] = L"安装包安装失败";
inline constexpr wchar_t kUninstallerMissingText[] = L"可执行卸载文件不存在";
inline constexpr wchar_t kUninstallFailedText[] = L"安装包卸载失败";
