#pragma once
#include <string_view>
#include "machine/word.h"

// START/END bookkeeping of the pass now running: a START opens a block, an END closes it.
struct CBlockCounts {
    int starts = 0;
    int ends = 0;
    // Where the program starts: the entry of the first START (its operand label, or
    // the origin when it has none).
    WORD entry = 0x0100;
};

// What a statement may ask of the assembler that owns it while it assembles.
class IAssemblyContext {
public:
    virtual ~IAssemblyContext() = default;

    virtual int GetPass() const = 0;
    // The address of a defined label, or false.
    virtual bool LookupLabel(std::string_view name, WORD& value) const = 0;
    // Adds the literal written after "=" for the instruction at instructionAddress and
    // records its hidden label; returns 0 and the pool address, or the error number.
    virtual int AddLiteral(std::string_view text, WORD instructionAddress, WORD& address) = 0;
    virtual CBlockCounts& GetBlockCounts() = 0;
};
