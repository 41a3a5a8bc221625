#pragma once

namespace pellion {
// Shown in the about box.
const char* versionText();
}  // namespace pellion
