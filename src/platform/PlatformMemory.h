#pragma once

namespace corvane {

// Lets the memory the program frees stay with it for its later allocations instead of going back to the
// system at once, takes memory from the system in large steps, and the first of it in large pages: for a
// program that reads one report and ends, which gives its memory back as it ends. A no-op where the C
// library has no such settings.
void KeepFreedMemory();

} // namespace corvane
