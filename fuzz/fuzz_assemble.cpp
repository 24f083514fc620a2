// Assembles any byte string. Whatever the bytes, the invariants of every assembly hold.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include "assembler/assembler.h"
#include "assembly_invariants.h"

namespace {
void Check(bool condition)
{
    if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // One assembler for every input, as a document keeps one: each assembly starts afresh.
    static CAssembler assembler;
    const bool ok = assembler.AssembleSource(text);
    Check(CheckAssemblyInvariants(assembler, text, ok).empty());
    return 0;
}
