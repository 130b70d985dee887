// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

#include "mainwindow/form1view.h"

// Text a scanner typed that the program read from the scanner itself, not through the
// window: it lands in the input box as the same keys typed there would, after what the
// box holds, and the box's change handling runs, so a line end decodes the scan.
void typeIntoText1(Form1View& view, std::u16string_view typed);
