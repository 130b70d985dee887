// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// Scan lines as the scanner types them, CR LF included, for the benchmarks.
namespace benchdata {

// 46 characters: serial, type "UPC" and nine data characters (three groups).
inline const std::u16string kTypicalLine = u"~crr3AMXPAMXRAwXQAMHRAMnT.dWOz.A2jJAwLVBw9J.\r\n";

// A parcel label: type "E28" and an 18-character tracking number.
inline const std::u16string kParcelLine = u"~crr3AM9RAwLSAw5JAwnRAwPJ.h2HI.AWaadH4Ccg8sAqGcfGWohgWw.\r\n";

// A line of one mebibyte: the typical line's data symbols repeated.
inline std::u16string mebibyteLine()
{
    const std::u16string head = kTypicalLine.substr(0, 31);
    const std::u16string data = kTypicalLine.substr(31, 12);
    std::u16string line = head;
    while (line.size() + data.size() + 3 <= (std::size_t{1} << 20))
        line += data;
    while (line.size() + 3 < (std::size_t{1} << 20))
        line += u'a';
    return line + u".\r\n";
}

} // namespace benchdata
