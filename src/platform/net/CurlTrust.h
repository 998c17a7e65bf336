// Which certificate authorities libcurl trusts. Peer and host verification always stay on;
// QUILLON_CA_BUNDLE names a PEM file that replaces the system's bundle (tests, staging).
#pragma once

namespace net {

// Applies the trust settings to a libcurl easy handle (a CURL*); false when refused.
bool ApplyCurlTrust(void* easyHandle);

}  // namespace net
