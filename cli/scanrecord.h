// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "decoder/scanline.h"

// One output line of tarnix-decode for one decoded scan.
namespace cli {

enum class OutputFormat {
    Columns, // serial TAB type TAB data, each field escaped
    Json,    // {"serial":...,"type":...,"data":...}
};

// Appends the fields as one LF-terminated UTF-8 line in the given format.
void appendScanRecord(const tarnixFuncs::ScanFields& fields, OutputFormat format, std::string& out);

} // namespace cli
