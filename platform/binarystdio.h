#pragma once

namespace platform {

// Switches standard input and output to binary mode, so that bytes pass through
// unchanged: no CR LF translation and no end of input at a Ctrl+Z byte, as the C
// runtime's text mode does on Windows. Elsewhere streams are binary already.
// Call before the first read or write.
void setBinaryStdio();

} // namespace platform
