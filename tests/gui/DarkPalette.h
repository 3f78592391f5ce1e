#pragma once

// The dark palette the tests and the screenshots set: light text on dark windows, lists,
// buttons and tool tips, greyed text where disabled.

#include <QPalette>

namespace testsupport {

QPalette darkPalette();

} // namespace testsupport
