// SPDX-License-Identifier: MIT
#pragma once

#include <stdexcept>
#include <string>

namespace tarnixFuncs {

// A run-time error as the program reports it: a number, the name of the routine
// that raised it (or re-raised it), a description, a help file and a help context.
class RuntimeError : public std::runtime_error {
public:
    RuntimeError(
        int number, std::string source, std::string description, std::string helpFile = {}, long helpContext = 0);

    int number() const noexcept { return number_; }
    const std::string& source() const noexcept { return source_; }
    const std::string& description() const noexcept { return description_; }
    const std::string& helpFile() const noexcept { return helpFile_; }
    long helpContext() const noexcept { return helpContext_; }

    // The same error with another source; everything else is kept.
    RuntimeError withSource(std::string source) const;

private:
    int number_;
    std::string source_;
    std::string description_;
    std::string helpFile_;
    long helpContext_;
};

// Error numbers used by the decoder.
inline constexpr int kInvalidCallError = 5;
inline constexpr int kOverflowError = 6;
inline constexpr int kDivisionByZeroError = 11;

// The source of errors that no routine has re-raised yet: the program itself.
inline constexpr const char* kProgramSource = "Tarnix";

// Raise one of the decoder's errors with the program as its source. The help context
// follows the runtime's numbering: 1000000 plus the error number.
[[noreturn]] void raiseError(int number);

} // namespace tarnixFuncs
