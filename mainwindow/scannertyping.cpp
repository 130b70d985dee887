// SPDX-License-Identifier: MIT
#include "mainwindow/scannertyping.h"

#include <string>

void typeIntoText1(Form1View& view, std::u16string_view typed)
{
    view.setText(Form1View::Control::Text1, view.text(Form1View::Control::Text1) + std::u16string(typed));
}
