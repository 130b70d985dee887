#include "abouttext.h"

QString aboutText()
{
    return QStringLiteral("Tarnix - By the Tarnix developers\r\n"
                          "Questions and comments should be directed to:\r\n"
                          "tarnix@example.org");
}
