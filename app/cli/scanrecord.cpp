#include "scanrecord.h"

#include "fieldescape.h"

namespace cli {

void appendScanRecord(const tarnixFuncs::ScanFields& fields, OutputFormat format, std::string& out)
{
    if (format == OutputFormat::Json) {
        out += "{\"serial\":";
        appendJsonString(fields.serial, out);
        out += ",\"type\":";
        appendJsonString(fields.type, out);
        out += ",\"data\":";
        appendJsonString(fields.data, out);
        out += "}\n";
        return;
    }
    appendColumnField(fields.serial, out);
    out += '\t';
    appendColumnField(fields.type, out);
    out += '\t';
    appendColumnField(fields.data, out);
    out += '\n';
}

} // namespace cli
