// SPDX-License-Identifier: MIT
#include "decoder/runtimeerror.h"

#include <utility>

namespace tarnixFuncs {

RuntimeError::RuntimeError(
    int number, std::string source, std::string description, std::string helpFile, long helpContext)
    : std::runtime_error(description)
    , number_(number)
    , source_(std::move(source))
    , description_(std::move(description))
    , helpFile_(std::move(helpFile))
    , helpContext_(helpContext)
{
}

RuntimeError RuntimeError::withSource(std::string source) const
{
    return RuntimeError(number_, std::move(source), description_, helpFile_, helpContext_);
}

void raiseError(int number)
{
    const char* description = "Application-defined or object-defined error";
    switch (number) {
    case kInvalidCallError: description = "Invalid procedure call or argument"; break;
    case kOverflowError: description = "Overflow"; break;
    case kDivisionByZeroError: description = "Division by zero"; break;
    default: break;
    }
    throw RuntimeError(number, kProgramSource, description, {}, 1000000L + number);
}

} // namespace tarnixFuncs
