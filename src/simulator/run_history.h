#pragma once
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>
#include "machine/memory.h"
#include "machine/register.h"

// What each executed statement (and each change the user made to the machine) changed,
// newest last, so that the machine can go back step by step. A step keeps the old
// values of the registers it may change and of every memory word it wrote — an undo
// log, not snapshots — in a ring of words within a memory budget; when the ring is
// full the oldest steps go first.
class CRunHistory {
public:
    static constexpr size_t kDefaultBudget = size_t{64} << 20;  // bytes
    // Bits of a step's mask word beyond the eleven registers.
    enum : WORD { STEP_RUN_START = 0x2000, STEP_USER = 0x4000, STEP_INPUT = 0x8000, STEP_REGISTERS = 0x07FF };

    CRunHistory();
    // The budget in bytes for everything the history holds; drops the history.
    void SetBudget(size_t bytes);
    size_t GetBudget() const { return m_nBudget; }
    void Clear();

    bool IsEmpty() const { return m_nSteps == 0; }
    std::uint64_t GetStepCount() const { return m_nSteps; }
    // Steps dropped because of the budget since the last Clear; a step's number is dropped + its place.
    std::uint64_t GetDroppedCount() const { return m_nDropped; }
    // The number the next step will have (from 1 after a Clear).
    std::uint64_t GetNextNumber() const { return m_nDropped + m_nSteps + 1; }
    size_t GetBytes() const;

    // One step: Begin before it with the registers it may change (bits 0-10, PR included),
    // Write for every memory word it writes, End after it.
    void Begin(WORD mask, const CRegister& reg)
    {
        if (m_nCapacity - (m_nTail - m_nHead) < kReserve) MakeRoom();
        m_nStart = m_nTail;
        Put(0);
        Put(mask | m_wPending);
        m_wPending = 0;
        for (WORD bits = mask & STEP_REGISTERS; bits; bits &= static_cast<WORD>(bits - 1))
            Put(reg[__builtin_ctz(bits)]);
        m_bInStep = true;
    }
    void Write(WORD address, WORD old)
    {
        if (!m_bInStep) return;
        // Begin left room for any statement's writes; only a long user change can need more.
        if (m_nCapacity - (m_nTail - m_nHead) < 4) MakeRoom();
        Put(address);
        Put(old);
    }
    void End()
    {
        const auto length = static_cast<WORD>(m_nTail - m_nStart + 1);
        m_pWords[m_nStart & m_nMask] = length;
        Put(length);
        m_bInStep = false;
        ++m_nSteps;
    }
    // The step under way read an input line (or the end of input): kept for replaying it.
    void NoteInput(bool ok, const std::string& line);
    // The next input line to replay after steps were taken back; false when there is none.
    bool TakeReplay(bool& ok, std::string& line);

    // Takes the newest step back; false when there is none. user tells whether it was a user's change.
    bool Undo(CRegister& reg, CMemory& mem, bool* user = nullptr);
    // A step as the trace table shows it.
    struct CStepView {
        std::uint64_t number;  // statements executed up to and including this one (user changes not counted)
        bool user;
        WORD address;     // PR before the step: the statement's address
        CRegister after;  // the registers after the step
    };
    // Every step kept, oldest first, with the registers after it, reconstructed back from now.
    std::vector<CStepView> ListSteps(const CRegister& now) const;

    // A run begins: its first step is marked, for going back to where the last run began.
    void MarkRunStart() { m_wPending = STEP_RUN_START; }
    void EndRun() { m_wPending = 0; }
    // How many steps to take back to reach where the newest kept run began (all when none is marked).
    std::uint64_t StepsToLastRunStart() const;

private:
    static constexpr size_t kReserve = 256;  // words: more than the longest statement (IN) writes
    void Put(WORD w) { m_pWords[(m_nTail++) & m_nMask] = w; }
    WORD At(std::uint64_t i) const { return m_pWords[i & m_nMask]; }
    void MakeRoom();
    void DropOldest();
    void Allocate();

    size_t m_nBudget = kDefaultBudget;
    std::unique_ptr<WORD[]> m_pWords;
    std::uint64_t m_nCapacity = 0, m_nMask = 0;
    std::uint64_t m_nHead = 0, m_nTail = 0, m_nStart = 0;  // absolute word positions
    std::uint64_t m_nSteps = 0, m_nDropped = 0, m_nDroppedUser = 0;
    bool m_bInStep = false;
    WORD m_wPending = 0;  // flags for the next step's mask
    struct CInput {
        bool ok;
        std::string line;
    };
    // What a kept line costs of the budget: its text and its place in the queue.
    static size_t InputCost(const CInput& input) { return sizeof(CInput) + input.line.capacity(); }
    std::deque<CInput> m_inputs;  // the lines of the kept input steps, oldest first
    std::deque<CInput> m_replay;  // lines of steps taken back, next first
    size_t m_nInputBytes = 0;
};
