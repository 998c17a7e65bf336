// Where the tracker delivers when its configuration names no address.
#pragma once

#include <string>

namespace zoren::usage {

// QUILLON_COLLECT_URL when set (tests, staging), otherwise
// "https://" + the build's collection host + "/sa?project=pc".
std::string defaultCollectionUrl();

}  // namespace zoren::usage
