// Whether the most recent batch reached the collection service. It decides whether a
// delivery runs in the caller's thread or on a thread of its own.
#pragma once

namespace usage_analytics {

bool LastDeliverySucceeded();
void SetLastDeliverySucceeded(bool succeeded);

}  // namespace usage_analytics
