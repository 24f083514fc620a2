#pragma once
#include <memory>
#include <string>
#include <string_view>
#include "assembler/mnemonic.h"
#include "assembler/statement_arena.h"

// One row of the operation-name table: the name, the code (base of the first word,
// or an internal selector for directives and macros) and the class to make.
struct COperation {
    using Factory = CMnemonic* (*)(CStatementArena& arena, WORD address, CStatementText&& text,
                                   IAssemblyContext* assembler);
    std::string_view name;
    WORD code;
    Factory create;
};

// Exact, case-sensitive look-up in table order; null when the name is not an operation.
const COperation* FindOperation(std::string_view name);
