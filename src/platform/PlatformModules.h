#pragma once

#include <string>

namespace corvane {

// Shared modules loaded while the program runs: dlopen on Linux, LoadLibraryW on Windows. A module stays
// loaded until the program ends.

// The folder of the running program's file, as UTF-8 text; empty when the system does not tell.
std::string ProgramFolder();

// Loads the module at a UTF-8 path; nullptr with the system's reason in `error` when it cannot.
void* LoadModule(const std::string& utf8, std::string& error);

// The address of a function the loaded module exports by C name; nullptr when it has none.
void* ModuleFunction(void* module, const char* name);

} // namespace corvane
