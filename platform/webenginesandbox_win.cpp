#include "webenginesandbox.h"

namespace platform {

// On Windows the engine's sandbox runs for administrators too: nothing to switch off.
void allowWebEngineWithoutSandboxAsRoot() {}

} // namespace platform
