// SPDX-License-Identifier: MIT
// Makes scan lines from known fields, the one encoder of the tests and figures.
//
//   tarnix-e2e-scanlines COUNT
// prints COUNT lines for the desktop tests and the package check, tab-separated: the
// scan line as the scanner types it (without its CR LF, which a test presses as
// Return), then the serial, type and data it must decode to. Every line differs from
// the others in serial and data, and the data lengths vary, so a lost or merged line
// shows.
//
//   tarnix-e2e-scanlines --log MB
// prints a scan log of about MB megabytes for timing tarnix-decode: scan lines ending
// in LF or CR LF, with the mix of barcode types and data lengths of a working day at a
// parcel counter. The same every run.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "tests/support/scanencoder.h"

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
    // "d" and "e" as a group's last byte become the symbols "+" and "/", which keyboard
    // layouts move or make dead keys of.
    static constexpr char kAlphabet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZde";
    constexpr int kLetters = sizeof kAlphabet - 1;
    const int groups = 2 + index % 7; // 6 to 24 characters
    std::string data;
    for (int i = 0; i < groups * 3; ++i)
        data += kAlphabet[(index * 7 + i * 13) % kLetters];
    return data;
}

std::string scanLine(const std::string& serial, const std::string& type, const std::string& data)
{
    return ascii(testsupport::encodeScanLine(
        testsupport::bytesOf(serial), testsupport::bytesOf(type), testsupport::bytesOf(data)));
}

std::string randomText(std::mt19937& rng, const char* characters, int length)
{
    std::uniform_int_distribution<std::size_t> pick(0, std::strlen(characters) - 1);
    std::string text;
    for (int i = 0; i < length; ++i)
        text += characters[pick(rng)];
    return text;
}

// Parcel numbers of 18 characters, EAN codes (12 of the 13 digits travel), UPC codes of
// nine digits (the typical 46-character line), and QR codes of printable text.
std::string randomData(std::mt19937& rng, const std::string& type)
{
    if (type == "E28")
        return "1Z" + randomText(rng, "0123456789ABCDEFGHJKLMNPRSTUVWXYZ", 16);
    if (type == "EAN")
        return randomText(rng, "0123456789", 12);
    if (type == "UPC")
        return randomText(rng, "0123456789", 9);
    std::string printable;
    for (char ch = ' '; ch < 127; ++ch)
        printable += ch;
    return randomText(rng, printable.c_str(), 3 * std::uniform_int_distribution<int>(1, 11)(rng));
}

int printLog(double megabytes)
{
    std::mt19937 rng(20261208);
    std::vector<std::string> scanners;
    for (int i = 0; i < 8; ++i)
        scanners.push_back("SN-" + randomText(rng, "0123456789", 15));
    static const char* const kTypes[] = {"E28", "EAN", "UPC", "QRC"};
    // A few thousand distinct lines, repeated in random order, keep generation fast.
    std::vector<std::string> lines;
    for (int i = 0; i < 4096; ++i) {
        const std::string type = kTypes[std::uniform_int_distribution<int>(0, 3)(rng)];
        std::string line
            = scanLine(scanners[std::uniform_int_distribution<std::size_t>(0, 7)(rng)], type, randomData(rng, type));
        if (std::uniform_int_distribution<int>(0, 1)(rng) == 0)
            line.replace(line.size() - 2, 2, "\n"); // LF alone
        lines.push_back(std::move(line));
    }
    std::uniform_int_distribution<std::size_t> pick(0, lines.size() - 1);
    const auto target = static_cast<std::size_t>(megabytes * 1'000'000);
    for (std::size_t written = 0; written < target;) {
        const std::string& line = lines[pick(rng)];
        std::fwrite(line.data(), 1, line.size(), stdout);
        written += line.size();
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc > 2 && std::strcmp(argv[1], "--log") == 0)
        return printLog(std::atof(argv[2]));
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
