// SPDX-License-Identifier: MIT
// The load handler and what the polling loop does on Alt.
#include "mainwindow/form1.h"

#include <stdexcept>
#include <string>

#include "mainwindow/keyboardpollingloop.h"
#include "platform/programversion.h"
#include "decoder/tarnixfuncs.h"

namespace {

std::u16string decimal(unsigned value)
{
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

} // namespace

Form1::Form1(Form1View& view, platform::KeyState* keys, lookup::LookupHosts hosts)
    : view_(view)
    , keys_(keys)
    , hosts_(std::move(hosts))
{
    view_.setHandlers(*this);
}

void Form1::startUp()
{
    view_.show();
    const platform::ProgramVersion version = platform::programVersion();
    view_.setCaption(view_.caption() + u" v" + decimal(version.major) + u"." + decimal(version.minor) + u"."
        + decimal(version.revision));
    // Before the first event is delivered, so no scan can reach the decoder earlier.
    tarnixFuncs::initAlphabet();
}

void Form1::Form_Load()
{
    if (!keys_)
        throw std::logic_error("Form1::Form_Load needs a key state");
    startUp();
    KeyboardPollingLoop(
        *keys_, [this] { onAltPressed(); }, [this](std::chrono::milliseconds wait) { view_.pumpEvents(wait); })
        .runForever();
}

void Form1::onAltPressed()
{
    view_.show();
    view_.focusText1();
    view_.setText(Form1View::Control::Text1, u"");
}
