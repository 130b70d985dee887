// SPDX-License-Identifier: MIT
#include "mainwindow/abouttext.h"

std::u16string_view aboutText()
{
    return u"Tarnix - By the Tarnix developers\r\n"
           u"Questions and comments should be directed to:\r\n"
           u"tarnix@example.org";
}
