// The load handler's steps before the event loop takes over.
#include "form1.h"

#include "programversion.h"
#include "tarnixfuncs.h"

void Form1::startUp()
{
    show();
    const platform::ProgramVersion version = platform::programVersion();
    setWindowTitle(windowTitle() + QStringLiteral(" v") + QString::number(version.major) + QLatin1Char('.')
                   + QString::number(version.minor) + QLatin1Char('.') + QString::number(version.revision));
    // Before the first event is delivered, so no scan can reach the decoder earlier.
    tarnixFuncs::initAlphabet();
}
