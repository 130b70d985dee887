// SPDX-License-Identifier: MIT
// Prints scan lines for the desktop tests, one a line, tab-separated: the scan line as
// the scanner types it (without its CR LF, which the test presses as Return), then
// the serial, type and data it must decode to. Every line differs from the others in
// serial and data, and the data lengths vary, so a lost or merged line shows.
//
//   tarnix-e2e-scanlines COUNT
#include <cstdio>
#include <cstdlib>
#include <string>

#include "scanencoder.h"

namespace {

std::string ascii(const std::u16string& text)
{
    return std::string(text.begin(), text.end());
}

// Digits, then letters: all of it plain ASCII, the same in every code page.
std::string serialFor(int index)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "SN%06dTX%08d", index, 99'999'999 - index);
    return buffer;
}

std::string dataFor(int index)
{
    static const char* const kAlphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const int groups = 2 + index % 7; // 6 to 24 characters
    std::string data;
    for (int i = 0; i < groups * 3; ++i)
        data += kAlphabet[(index * 7 + i * 13) % 36];
    return data;
}

} // namespace

int main(int argc, char* argv[])
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 1;
    static const char* const kTypes[] = {"UPC", "E28", "EAN", "C39"};
    for (int index = 0; index < count; ++index) {
        const std::string serial = serialFor(index);
        const std::string type = kTypes[index % 4];
        const std::string data = dataFor(index);
        std::u16string line = testsupport::encodeScanLine(
            testsupport::bytesOf(serial), testsupport::bytesOf(type), testsupport::bytesOf(data));
        line.resize(line.size() - 2); // CR LF
        std::printf("%s\t%s\t%s\t%s\n", ascii(line).c_str(), serial.c_str(), type.c_str(), data.c_str());
    }
    return 0;
}
