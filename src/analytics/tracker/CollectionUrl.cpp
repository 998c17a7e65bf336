#include "analytics/tracker/CollectionUrl.h"

#include <cstdlib>

namespace zoren::usage {

std::string defaultCollectionUrl() {
    const char* replacement = std::getenv("QUILLON_COLLECT_URL");
    if (replacement != nullptr && *replacement != '\0') {
        return replacement;
    }
    return std::string("https://") + QUILLON_COLLECT_HOST + "/sa?project=pc";
}

}  // namespace zoren::usage
