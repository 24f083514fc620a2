#pragma once
#include <memory>
#include <optional>
#include "machine/memory.h"
#include "machine/register.h"

class CLabelBank;
class CWatchInfo;

// What the last command changed, for the panes to show in colour. It keeps the machine
// as it was when the command began (the registers and a copy of the memory, taken once a
// command, never a statement), and answers, for a value a pane is about to draw, whether
// it differs from then. Nothing differs before the first command's copy is taken, nor
// right after one: a fresh load or a restart takes it after it has reset the machine.
//
// It also keeps the address of the statement the command executed last, for the listing.
class CChangeMarks {
public:
    // The machine before a command; the last executed statement is forgotten.
    void Take(const CRegister& reg, const CMemory& mem);
    void SetLastRun(std::optional<WORD> address) { m_lastRun = address; }
    std::optional<WORD> GetLastRun() const { return m_lastRun; }

    // A register's row changed: for FR only its three flags count, as only they are shown.
    bool IsRegisterChanged(int index, const CRegister& now) const;
    // The flags (FLAG_OF, FLAG_SF, FLAG_ZF) that changed.
    WORD ChangedFlags(const CRegister& now) const;
    bool IsWordChanged(WORD address, const CMemory& now) const;
    // A stack row (the word at address, SP now being at or below it): its word changed, or
    // the stack grew over it, so that a word pushed stands out even where memory held it.
    bool IsStackRowChanged(WORD address, const CRegister& reg, const CMemory& mem) const;
    // A watch's value text differs from the one it had (labels are the same on both sides:
    // assembling again is no command that keeps anything to compare).
    bool IsWatchChanged(const CWatchInfo& watch, const CRegister& reg, const CMemory& mem,
                        const CLabelBank* labels) const;

private:
    bool IsTaken() const { return m_pMemory != nullptr; }

    CRegister m_reg;
    std::unique_ptr<CMemory> m_pMemory;  // on the heap: the document is often a local
    std::optional<WORD> m_lastRun;
};
