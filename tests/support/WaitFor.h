#pragma once

#include <functional>

namespace testsupport {

// Pumps the event loop until the predicate holds or timeoutMs pass; returns the predicate.
bool waitFor(const std::function<bool()>& predicate, int timeoutMs = 10000);

// Pumps the event loop for about ms milliseconds.
void pumpFor(int ms);

} // namespace testsupport
