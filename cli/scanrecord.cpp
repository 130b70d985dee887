// SPDX-License-Identifier: MIT
#include "cli/scanrecord.h"

#include <cstring>

#include "cli/fieldescape.h"

namespace cli {

namespace {

template <std::size_t N>
char* writeLiteral(const char (&text)[N], char* out)
{
    std::memcpy(out, text, N - 1);
    return out + (N - 1);
}

char* writeColumns(const tarnixFuncs::ScanFields& fields, char* out)
{
    out = writeColumnField(fields.serial, out);
    *out++ = '\t';
    out = writeColumnField(fields.type, out);
    *out++ = '\t';
    out = writeColumnField(fields.data, out);
    *out++ = '\n';
    return out;
}

char* writeJson(const tarnixFuncs::ScanFields& fields, char* out)
{
    out = writeLiteral("{\"serial\":\"", out);
    out = writeJsonStringContent(fields.serial, out);
    out = writeLiteral("\",\"type\":\"", out);
    out = writeJsonStringContent(fields.type, out);
    out = writeLiteral("\",\"data\":\"", out);
    out = writeJsonStringContent(fields.data, out);
    out = writeLiteral("\"}\n", out);
    return out;
}

} // namespace

void appendScanRecord(const tarnixFuncs::ScanFields& fields, OutputFormat format, std::string& out)
{
    // One stretch of room for the longest possible record, cut to size afterwards:
    // this runs for every line.
    constexpr std::size_t kFramingBytes = 40; // keys, quotes, separators, line end
    const std::size_t units = fields.serial.size() + fields.type.size() + fields.data.size();
    const std::size_t start = out.size();
    out.resize(start + units * kLongestFormOfAUnit + kFramingBytes);
    char* const first = out.data() + start;
    char* const end = format == OutputFormat::Json ? writeJson(fields, first) : writeColumns(fields, first);
    out.resize(start + static_cast<std::size_t>(end - first));
}

} // namespace cli
