#pragma once
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>
#include "assembler/execution_host.h"
#include "machine/memory.h"
#include "machine/register.h"

// Executes one statement again while the history goes back: the one at reg's PR, on reg
// and mem, with input from input (which also takes its output, and drops it).
class IStepReplayer {
public:
    virtual ~IStepReplayer() = default;
    virtual void ReplayStep(CRegister& reg, CMemory& mem, IExecutionHost& input) const = 0;
};

// What each executed statement (and each change the user made to the machine) changed,
// newest last, so that the machine can go back step by step: an undo log, not
// snapshots of memory. It is two rings of words. The step ring holds a record per step:
// a statement's old PR (two bytes), or all eleven old registers for a change of the
// user's. The memory ring holds an entry for each word the steps wrote, in order:
// CMemory's journal writes them as they happen, stamped with the low bits of the step's
// number.
//
// The registers a statement changed are not kept. Copies of all registers (anchors) are
// taken at every check (at most kStepsBetweenChecks steps apart), when a run starts and
// after a change of the user's; the registers before a statement follow from the newest
// anchor before it: with the words written since then put back, the statements in
// between are executed again (by an IStepReplayer of the owner's), reading the input
// lines they read the first time, and write the same words again.
//
// Records cannot be read from the front, so the steps are cut into blocks, each knowing
// where it starts in both rings and how many steps came before it: when a ring is full,
// the oldest block goes at once. A block ends when it has taken a set share of either
// ring or holds kBlockSteps steps (so that the stamps in it tell its steps apart), and
// where either ring wraps, always at a check, so that every block begins at an anchor.
// The input lines that IN statements read are kept
// beside the rings, for replaying them after going back.
//
// While a run records, the step ring's cursor is the caller's (a local of the run loop,
// so that it can stay in a register); StartRecording hands it out, Sync and
// StopRecording take it back. The steps are then counted by the memory's stamp alone,
// which the caller moves on before each statement; the history catches up with it when
// it is called.
class CRunHistory {
public:
    static constexpr size_t kDefaultBudget = size_t{64} << 20;  // bytes

    CRunHistory() = default;
    CRunHistory(const CRunHistory&) = delete;
    CRunHistory& operator=(const CRunHistory&) = delete;

    // The budget in bytes for everything the history holds (at least kMinBudget); drops the history.
    void SetBudget(size_t bytes);
    size_t GetBudget() const { return m_nBudget; }
    void Clear();
    // Makes the rings ready (they are taken from the system on first use only) for the
    // memory whose words the steps write.
    void Attach(CMemory& memory);

    bool IsEmpty() const { return GetStepCount() == 0; }
    std::uint64_t GetStepCount() const { return m_nEnded - m_nDropped; }
    // Steps dropped because of the budget since the last Clear.
    std::uint64_t GetDroppedCount() const { return m_nDropped; }
    // Statements ended since the Clear and not taken back, the dropped ones among them
    // (user's changes are no statements), and the dropped ones alone.
    std::uint64_t GetStatementCount() const { return m_nEnded - m_nDroppedUser - m_userSteps.size(); }
    std::uint64_t GetDroppedStatementCount() const { return m_nDropped - m_nDroppedUser; }
    size_t GetBytes() const;

    // A run's recording, after Attach, from the registers reg: the cursor to pass to Begin.
    WORD* StartRecording(const CRegister& reg);
    void StopRecording(WORD* cursor, const CRegister& reg);
    // Hands the cursor over (before anything else may add a step: a change of the user's
    // between two statements) and takes it back.
    void Sync(WORD* cursor)
    {
        CatchUp();
        m_pCursor = cursor;
    }
    WORD* GetCursor() const { return m_pCursor; }

    // One statement's step while recording: the memory's NextStamp, then Begin with its
    // address (PR), before it executes; Begin returns the cursor moved on.
    static WORD* Begin(WORD* at, WORD pr)
    {
        *at = pr;
        return at + 1;
    }
    // The step begun last did not happen after all (it changed nothing): its record goes.
    // The caller takes the memory's stamp back.
    static WORD* Withdraw(WORD* at) { return at - 1; }
    // Room is made and the registers reg are kept only every so many steps (the rings keep
    // room for them past their limits): Check at least once every kStepsBetweenChecks steps.
    static constexpr int kStepsBetweenChecks = 128;
    WORD* Check(WORD* at, const CRegister& reg)
    {
        CatchUp();
        if (at > m_pLimit || m_pMemory->GetJournal() > m_pMemLimit || m_nEnded > m_nBlockStepLimit) at = MakeRoom(at);
        KeepRegisters(reg);
        return at;
    }
    // The smallest budget: the rings' room past their limits takes about 100 KiB.
    static constexpr size_t kMinBudget = size_t{2} << 20;

    // A change of the user's: Begin with the registers before, change registers and
    // memory (through SetWord), End with the registers after.
    void BeginUserChange(const CRegister& reg);
    void EndUserChange(const CRegister& reg);

    // The newest step began a run: going back to where the last run began stops before it.
    void MarkNewestAsRunStart();
    // How many steps to take back to reach where the newest kept run began (all when none is kept).
    std::uint64_t StepsToLastRunStart() const;
    // False when the steps up to where the newest run began were dropped: going back to
    // its start then stops at the oldest step kept.
    bool IsLastRunStartKept() const { return !m_runStarts.empty() || m_nDropped == 0; }

    // An IN statement of the step under way read an input line (or the end of input).
    void NoteInput(bool ok, const std::string& line);
    // The next input line to replay after steps were taken back; false when there is none.
    bool TakeReplay(bool& ok, std::string& line);

    // The address of the statement the newest step executed (its PR before it); none when
    // the newest step is a change of the user's, when there is none, or while recording.
    std::optional<WORD> GetNewestStatementAddress() const;

    // Takes up to count of the newest steps back (not while recording); returns how many.
    // user tells whether the last one taken back was a user's change.
    std::uint64_t Undo(CRegister& reg, CMemory& mem, const IStepReplayer& replayer, std::uint64_t count = 1,
                       bool* user = nullptr);

    // A statement's step as the trace table shows it.
    struct CStepView {
        std::uint64_t number;  // statements executed up to and including this one (user changes not counted)
        WORD address;          // PR before the step: the statement's address
        CRegister after;       // the registers after the step
    };
    class IStepVisitor {
    public:
        virtual ~IStepVisitor() = default;
        // False stops the walk.
        virtual bool Visit(const CStepView& step) = 0;
    };
    // The statements' steps kept, oldest first, each handed over as it is made (mem is the
    // machine's memory now): on a copy, the memory is put back to where the oldest kept
    // step began, and the steps are executed again from there with their input lines, so
    // that the walk takes no more memory for more steps. False when the visitor stopped it.
    bool VisitSteps(const CMemory& mem, const IStepReplayer& replayer, IStepVisitor& visitor) const;
    // How many steps VisitSteps hands over.
    std::uint64_t GetKeptStatementCount() const { return GetStepCount() - m_userSteps.size(); }

private:
    // Room past a ring's limit for the steps between two checks, twice over (a tail moved
    // back to where its ring wrapped may take as many again before it wraps anew): 11
    // words at most in the step ring (a user's change), 81 entries in the memory ring (IN).
    static constexpr size_t kStepReserve = 2 * kStepsBetweenChecks * REG_COUNT;
    static constexpr size_t kMemReserve = 2 * kStepsBetweenChecks * 81 * CMemory::kJournalEntry;
    static constexpr size_t kBlocks = 32;  // a block's share of each ring: 1/kBlocks
    static constexpr std::uint64_t kBlockSteps = 30000;
    // Blocks ended by either share, by their steps (a step takes a word at least), and the wraps.
    static constexpr size_t kMaxBlocks = 1024;

    // One ring: words in [head, tail), or in [head, wrapEnd) and [0, tail) once wrapped.
    struct CRing {
        struct CFree {
            void operator()(WORD* words) const;
        };
        std::unique_ptr<WORD[], CFree> words;  // capacity + reserve
        size_t capacity = 0;                   // a step starts before this
        size_t blockWords = 0;                 // a block's share
        size_t reserve = 0;
        size_t head = 0, wrapEnd = 0;
        bool wrapped = false;

        void Allocate(size_t words, size_t reserve);
        size_t Used(size_t tail) const { return wrapped ? (wrapEnd - head) + tail : tail - head; }
        // The highest tail a step may leave before room must be made, given the block's start.
        size_t Limit(size_t blockStart) const;
    };
    struct CBlock {
        size_t start;         // where its first record starts in the step ring
        size_t memStart;      // and its first pair in the memory ring
        std::uint64_t steps;  // steps ended before it
    };
    struct CInput {
        std::uint64_t step;  // the step that read it
        bool ok;
        std::string line;
    };
    class CInputReplay;
    // What a kept line costs of the budget: its text and its place in the queue.
    static size_t InputCost(const CInput& input) { return sizeof(CInput) + input.line.capacity(); }

    // The registers after a step.
    struct CAnchor {
        std::uint64_t steps;  // steps ended then
        CRegister reg;
    };
    bool IsUserStep(std::uint64_t number) const;
    void KeepRegisters(const CRegister& reg);
    // Takes the newest step back but for the registers of a statement's step; true when it was a user's.
    bool UndoOne(CRegister& reg, CMemory& mem);
    // The registers after the newest step, which is a statement's: from the newest anchor on.
    void ReplayToNewest(CRegister& reg, CMemory& mem, const IStepReplayer& replayer) const;
    // Puts back the words the steps after the given number wrote, walking back from entry
    // (the newest entry of the newest block): returns where they start.
    static WORD* PutBackAfter(std::uint64_t steps, std::uint64_t newest, WORD* entry, const WORD* start, CMemory& mem);
    // The index of the first kept input line of a step after the given number.
    size_t FirstInputAfter(std::uint64_t steps) const;

    WORD* MakeRoom(WORD* at);
    void SettleTail();
    size_t SideBytes() const;
    void DropOldestBlock();
    void DropBefore(std::uint64_t steps);
    void UpdateLimits();
    // Drops the oldest blocks while the input lines and the bookkeeping take more than their share.
    void KeepSideInBudget();
    // While recording, the number the memory's stamp stands for: the steps ended between
    // two statements, the step under way within one. Checks come often enough that the
    // stamp cannot have wrapped since m_nEnded was brought up to date.
    std::uint64_t StampedStep() const
    {
        return m_nEnded + static_cast<WORD>(m_pMemory->GetStamp() - static_cast<WORD>(m_nEnded));
    }
    void CatchUp()
    {
        if (m_bRecording) m_nEnded = StampedStep();
    }
    size_t Tail() const { return static_cast<size_t>(m_pCursor - m_steps.words.get()); }
    // Where the memory ring's next pair goes: CMemory's journal while it is on.
    WORD* MemCursor() const { return m_bJournalOn ? m_pMemory->GetJournal() : m_pMemCursor; }
    void SetMemCursor(WORD* cursor);
    size_t MemTail() const { return static_cast<size_t>(MemCursor() - m_mem.words.get()); }
    void JournalOn();
    void JournalOff();

    const CBlock& Front() const { return m_blocks[m_nFirstBlock]; }
    const CBlock& Back() const { return m_blocks[(m_nFirstBlock + m_nBlockCount - 1) % kMaxBlocks]; }
    CBlock& Back() { return m_blocks[(m_nFirstBlock + m_nBlockCount - 1) % kMaxBlocks]; }
    void PushBlock(const CBlock& block);

    size_t m_nBudget = kDefaultBudget;
    CMemory* m_pMemory = nullptr;
    CRing m_steps, m_mem;
    WORD* m_pCursor = nullptr;          // where the next record goes
    WORD* m_pMemCursor = nullptr;       // where the next entry goes while the journal is off
    const WORD* m_pLimit = nullptr;     // a cursor beyond this needs room made
    const WORD* m_pMemLimit = nullptr;  // and a memory cursor beyond this
    bool m_bRecording = false, m_bJournalOn = false;
    std::uint64_t m_nBlockStepLimit = 0;  // a check beyond this many steps ends the block
    std::vector<CBlock> m_blocks;         // a ring of kMaxBlocks, oldest at m_nFirstBlock
    size_t m_nFirstBlock = 0, m_nBlockCount = 0;
    // Steps ended (and not taken back) since the Clear, and how many of them were dropped.
    std::uint64_t m_nEnded = 0, m_nDropped = 0, m_nDroppedUser = 0;

    std::deque<std::uint64_t> m_userSteps;  // the numbers of the kept steps that are changes of the user's
    std::deque<std::uint64_t> m_runStarts;  // the numbers of the kept steps that began a run
    std::deque<CAnchor> m_anchors;          // oldest first
    std::deque<CInput> m_inputs;            // the lines of the kept steps, oldest first
    std::deque<CInput> m_replay;            // lines of steps taken back, next first
    size_t m_nInputBytes = 0;
};
