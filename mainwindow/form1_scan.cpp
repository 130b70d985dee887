// Scan capture: every change of the input box, and what a completed scan line sets off.
#include "form1.h"

void Form1::Text1_Change()
{
}
