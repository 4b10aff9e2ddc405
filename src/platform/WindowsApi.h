#pragma once

// The Windows API without the min and max macros, which would hide std::min and std::max, and without
// the rarely used parts. Included only where _WIN32 is defined.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
