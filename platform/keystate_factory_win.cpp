#include "keystate.h"
#include "keystate_win.h"

namespace platform {

// On Windows the system's asynchronous key state serves every window system.
std::unique_ptr<KeyState> createKeyState()
{
    return createWinKeyState();
}

} // namespace platform
