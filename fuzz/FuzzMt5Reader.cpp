// The MetaTrader 5 reader on arbitrary bytes: detection, decoding, table rows and deal pairing, as a fresh
// load and as an appending one onto an account history.
#include "FuzzSupport.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace corvane;
    const fuzz::InputFile input(data, size);
    Session session;
    const bool read = fuzz::LoadInto(input.Path(), LoadMode::Replace, Terminal::Mt5, &session);
    // Bytes no newer report was read from would be ignored by an appending load onto a history.
    if (!read || session.Report.Writer == Terminal::Mt5)
        fuzz::LoadInto(input.Path(), LoadMode::Append, Terminal::Mt5);
    return 0;
}
