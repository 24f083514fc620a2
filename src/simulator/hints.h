#pragma once
#include <cstdint>
#include <string>
#include "machine/word.h"

class CAssembler;

// Update hints: what changed, broadcast to every view of a document.
enum : int {
    HINT_DUMP_GOTO = 258,
    HINT_LISTING_GOTO = 259,
    HINT_MEMORY_EDITED = 275,
    HINT_REGISTERS_CHANGED = 288,
    HINT_BREAKPOINTS_CLEARED = 304,
    HINT_MACHINE_STATE = 512,
    HINT_DEVICE_OUTPUT = 768,
    HINT_SOURCE_LINES_CHANGED = 1280,
    HINT_SOURCE_GOTO_LINE = 1536,
    HINT_ASSEMBLE_BEGIN = 1792,
    HINT_ASSEMBLE_ERRORS = 2048,
};

// The hint object: the sender fills only the fields its code needs.
class CHintUpdateView {
public:
    virtual ~CHintUpdateView() = default;

    const CAssembler* m_pObject = nullptr;  // 2048: the assembler whose errors are to be shown
    std::uint32_t m_nLine = 0;              // 1280: caret line after the change; 1536: line to show (1-based)
    std::int32_t m_nLineDelta = 0;          // 1280: new line count minus old line count
    WORD m_wAddress = 0;                    // 258, 259, 275
    std::string m_strText;                  // 768: one device line
};
