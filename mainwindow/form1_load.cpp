// The load handler. Kept apart so that programs and tests that only need the window
// do not pull in the polling loop.
#include "form1.h"

#include <stdexcept>

#include "keyboardpollingloop.h"

void Form1::Form_Load()
{
    if (!deps_.keys)
        throw std::logic_error("Form1::Form_Load needs a key state");
    startUp();
    KeyboardPollingLoop(*deps_.keys, [this] { onAltPressed(); }).runForever();
}
