#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kwizmar {

// What a program prints and exits with when its first argument asks about the
// program rather than naming a file: for "--version", `program`, a blank and
// the program's version ("kwizmar 1.5.0.124"); for "--help", `usage` followed
// by the lines of these two options. Any other first argument, or none, gives
// nothing, and the program starts as usual. `args` are the arguments after the
// program's own name. Never throws beyond std::bad_alloc.
std::optional<std::string> CommandLineInfo(const std::vector<std::string>& args,
                                           std::string_view program, std::string_view usage);

// What the exam program is started with, after CommandLineInfo: a test file
// to begin with (empty for none) and whether the exam is a trial run of the
// test editor ("--proba TEST.ts2"), whose result never reaches the class's
// log.
struct TExamArguments {
    std::string test;
    bool trial = false;
    bool results = false; // "--wyniki": the results log alone, no exam

    bool operator==(const TExamArguments&) const = default;
};

// Reads the exam program's arguments (after its own name). A wrong command
// line gives the message to print instead, naming what is wrong: an unknown
// option, "--proba" without a test, a second test, "--wyniki" with a test. "--" ends the options, so
// that a file whose name starts with "-" still opens.
std::variant<TExamArguments, std::string> ReadExamArguments(const std::vector<std::string>& args);

} // namespace kwizmar
