#include "app/version.h"

namespace pellion {
const char* versionText() { return "4.03.00"; }
}  // namespace pellion
