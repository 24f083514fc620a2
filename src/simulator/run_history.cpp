#include "simulator/run_history.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#endif

static_assert(std::is_trivially_copyable_v<CRegister> && sizeof(CRegister) == 11 * sizeof(WORD),
              "a user's record copies the registers as eleven words");

// The input lines kept for the steps executed again, in order; what they write goes nowhere.
class CRunHistory::CInputReplay final : public IExecutionHost {
public:
    CInputReplay(const std::deque<CInput>& inputs, size_t next) : m_inputs(inputs), m_nNext(next) {}
    bool ReadInputLine(std::string& line) override
    {
        if (m_nNext >= m_inputs.size()) return false;
        const CInput& input = m_inputs[m_nNext++];
        line = input.line;
        return input.ok;
    }
    void WriteOutputLine(std::string_view) override {}

private:
    const std::deque<CInput>& m_inputs;
    size_t m_nNext;
};

void CRunHistory::CRing::Allocate(size_t total, size_t room)
{
    reserve = room;
    capacity = std::max(total - std::min(total, reserve), 4 * reserve);
    blockWords = capacity / kBlocks;
    // Not value-initialized: the pages are taken from the system only as steps fill them.
    // A ring is large and filled in order, so where the system has huge pages it is
    // asked for in them: a page fault per 2 MiB filled rather than per 4 KiB.
    constexpr size_t kHugePage = size_t{2} << 20;
    const size_t bytes = (capacity + reserve) * sizeof(WORD);
    const size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* memory = std::aligned_alloc(kHugePage, rounded);
    if (!memory) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    madvise(memory, rounded, MADV_HUGEPAGE);
#endif
    words.reset(static_cast<WORD*>(memory));
}

void CRunHistory::CRing::CFree::operator()(WORD* words) const { std::free(words); }

size_t CRunHistory::CRing::Limit(size_t blockStart) const
{
    size_t limit = std::min(blockStart + blockWords, capacity);
    // Once wrapped, every step must find room for its record before the oldest one.
    if (wrapped) limit = std::min(limit, head > reserve ? head - reserve : 0);
    return limit > 0 ? limit - 1 : 0;
}

void CRunHistory::SetBudget(size_t bytes)
{
    if (m_bRecording) return;
    m_nBudget = std::max(bytes, kMinBudget);
    m_steps.words.reset();
    m_mem.words.reset();
    Clear();
}

void CRunHistory::Attach(CMemory& memory)
{
    m_pMemory = &memory;
    if (m_steps.words) return;
    // Half of the budget for the steps, a quarter for the words they wrote, a quarter
    // for the input lines and the bookkeeping.
    m_steps.Allocate(m_nBudget / 2 / sizeof(WORD), kStepReserve);
    m_mem.Allocate(m_nBudget / 4 / sizeof(WORD), kMemReserve);
    m_blocks.assign(kMaxBlocks, CBlock{0, 0, 0});
    Clear();
}

void CRunHistory::Clear()
{
    if (m_bRecording) return;
    for (CRing* ring : {&m_steps, &m_mem}) {
        ring->head = ring->wrapEnd = 0;
        ring->wrapped = false;
    }
    m_pCursor = m_steps.words.get();
    m_pMemCursor = m_mem.words.get();
    m_nEnded = m_nDropped = m_nDroppedUser = 0;
    m_nFirstBlock = 0;
    m_nBlockCount = m_blocks.empty() ? 0 : 1;
    if (!m_blocks.empty()) m_blocks[0] = CBlock{0, 0, 0};
    m_userSteps.clear();
    m_runStarts.clear();
    m_anchors.clear();
    m_inputs.clear();
    m_replay.clear();
    m_nInputBytes = 0;
    UpdateLimits();
}

size_t CRunHistory::SideBytes() const
{
    return m_nInputBytes + (m_userSteps.size() + m_runStarts.size()) * sizeof(std::uint64_t) +
           m_anchors.size() * sizeof(CAnchor) + m_blocks.size() * sizeof(CBlock);
}

size_t CRunHistory::GetBytes() const
{
    if (!m_steps.words) return 0;
    return (m_steps.Used(Tail()) + m_mem.Used(MemTail())) * sizeof(WORD) + SideBytes();
}

WORD* CRunHistory::StartRecording(const CRegister& reg)
{
    JournalOn();
    m_pMemory->SetStamp(static_cast<WORD>(m_nEnded));
    m_bRecording = true;
    return Check(m_pCursor, reg);
}

void CRunHistory::StopRecording(WORD* cursor, const CRegister& reg)
{
    m_pCursor = Check(cursor, reg);  // catches up too
    m_bRecording = false;
    JournalOff();
}

void CRunHistory::JournalOn()
{
    if (m_bJournalOn) return;
    m_pMemory->SetJournal(m_pMemCursor);
    m_bJournalOn = true;
}

void CRunHistory::JournalOff()
{
    if (!m_bJournalOn) return;
    m_pMemCursor = m_pMemory->GetJournal();
    m_pMemory->SetJournal(nullptr);
    m_bJournalOn = false;
}

void CRunHistory::SetMemCursor(WORD* cursor)
{
    if (m_bJournalOn)
        m_pMemory->SetJournal(cursor);
    else
        m_pMemCursor = cursor;
}

void CRunHistory::UpdateLimits()
{
    if (!m_steps.words) {
        m_pLimit = m_pMemLimit = nullptr;
        return;
    }
    m_pLimit = m_steps.words.get() + m_steps.Limit(Back().start);
    m_pMemLimit = m_mem.words.get() + m_mem.Limit(Back().memStart);
    m_nBlockStepLimit = Back().steps + kBlockSteps;
}

void CRunHistory::PushBlock(const CBlock& block)
{
    if (m_nBlockCount == kMaxBlocks) DropOldestBlock();
    ++m_nBlockCount;
    Back() = block;
}

void CRunHistory::DropBefore(std::uint64_t steps)
{
    m_nDropped = steps;
    for (; !m_userSteps.empty() && m_userSteps.front() <= steps; m_userSteps.pop_front()) ++m_nDroppedUser;
    while (!m_runStarts.empty() && m_runStarts.front() <= steps) m_runStarts.pop_front();
    // The registers after the oldest step kept stay.
    while (!m_anchors.empty() && m_anchors.front().steps < steps) m_anchors.pop_front();
    while (!m_inputs.empty() && m_inputs.front().step <= steps) {
        m_nInputBytes -= InputCost(m_inputs.front());
        m_inputs.pop_front();
    }
}

void CRunHistory::DropOldestBlock()
{
    if (m_nBlockCount < 2) return;
    m_nFirstBlock = (m_nFirstBlock + 1) % kMaxBlocks;
    --m_nBlockCount;
    const CBlock& front = Front();
    // Blocks start further on in each ring, but for the one that starts where it wrapped.
    if (front.start < m_steps.head) m_steps.wrapped = false;
    m_steps.head = front.start;
    if (front.memStart < m_mem.head) m_mem.wrapped = false;
    m_mem.head = front.memStart;
    DropBefore(front.steps);
}

// Runs when the steps have filled their block's share of a ring, reached a ring's end or
// come near the oldest step: about once per block.
WORD* CRunHistory::MakeRoom(WORD* at)
{
    m_pCursor = at;
    bool newBlock = Tail() >= Back().start + m_steps.blockWords || MemTail() >= Back().memStart + m_mem.blockWords ||
                    m_nEnded >= m_nBlockStepLimit;
    if (Tail() >= m_steps.capacity) {
        m_steps.wrapEnd = Tail();
        m_steps.wrapped = true;
        m_pCursor = m_steps.words.get();
        newBlock = true;
    }
    if (MemTail() >= m_mem.capacity) {
        m_mem.wrapEnd = MemTail();
        m_mem.wrapped = true;
        SetMemCursor(m_mem.words.get());
        newBlock = true;
    }
    if (newBlock) PushBlock({Tail(), MemTail(), m_nEnded});
    // A block's worth of room at once in each ring, besides the room for the steps until the next check.
    while (m_nBlockCount > 1 && ((m_steps.wrapped && m_steps.head < Tail() + m_steps.blockWords + m_steps.reserve) ||
                                 (m_mem.wrapped && m_mem.head < MemTail() + m_mem.blockWords + m_mem.reserve)))
        DropOldestBlock();
    UpdateLimits();
    return m_pCursor;
}

void CRunHistory::BeginUserChange(const CRegister& reg)
{
    JournalOn();
    CatchUp();
    m_pMemory->SetStamp(static_cast<WORD>(m_nEnded + 1));
    std::memcpy(m_pCursor, &reg, sizeof(CRegister));
    m_pCursor += REG_COUNT;
}

void CRunHistory::EndUserChange(const CRegister& reg)
{
    ++m_nEnded;
    m_userSteps.push_back(m_nEnded);
    m_pCursor = Check(m_pCursor, reg);
    KeepSideInBudget();
    if (!m_bRecording) JournalOff();
}

void CRunHistory::MarkNewestAsRunStart()
{
    CatchUp();
    if (!IsEmpty() && (m_runStarts.empty() || m_runStarts.back() != m_nEnded)) m_runStarts.push_back(m_nEnded);
}

std::uint64_t CRunHistory::StepsToLastRunStart() const
{
    if (m_runStarts.empty()) return GetStepCount();
    return m_nEnded - m_runStarts.back() + 1;
}

void CRunHistory::NoteInput(bool ok, const std::string& line)
{
    if (!m_bRecording) return;
    m_inputs.push_back({StampedStep(), ok, line});
    m_nInputBytes += InputCost(m_inputs.back());
    KeepSideInBudget();
    UpdateLimits();
}

bool CRunHistory::TakeReplay(bool& ok, std::string& line)
{
    if (m_replay.empty()) return false;
    ok = m_replay.front().ok;
    line = std::move(m_replay.front().line);
    m_replay.pop_front();
    return true;
}

bool CRunHistory::IsUserStep(std::uint64_t number) const
{
    // Only the newest ones are ever asked for while going back, or walked in order.
    return !m_userSteps.empty() && std::binary_search(m_userSteps.begin(), m_userSteps.end(), number);
}

void CRunHistory::KeepRegisters(const CRegister& reg)
{
    if (!m_anchors.empty() && m_anchors.back().steps == m_nEnded)
        m_anchors.back().reg = reg;
    else
        m_anchors.push_back({m_nEnded, reg});
}

// Input lines count against the budget too, a block of steps at a time; the block being
// written stays.
void CRunHistory::KeepSideInBudget()
{
    while (SideBytes() > m_nBudget / 4 && m_nBlockCount > 1) DropOldestBlock();
}

// After going back: blocks left without steps go, and a tail at a ring's start after
// its wrap (when the block that began there has gone) moves to where the ring wrapped,
// so that the newest block holds the tail.
void CRunHistory::SettleTail()
{
    while (m_nBlockCount > 1 && Back().steps >= m_nEnded) --m_nBlockCount;
    if (Tail() == 0 && m_steps.wrapped && Back().start > 0) {
        m_pCursor = m_steps.words.get() + m_steps.wrapEnd;
        m_steps.wrapped = false;
    }
    if (MemTail() == 0 && m_mem.wrapped && Back().memStart > 0) {
        SetMemCursor(m_mem.words.get() + m_mem.wrapEnd);
        m_mem.wrapped = false;
    }
    UpdateLimits();
}

WORD* CRunHistory::PutBackAfter(std::uint64_t steps, std::uint64_t newest, WORD* entry, const WORD* start, CMemory& mem)
{
    // Within a block the stamps tell its steps apart; those after steps are the newest entries.
    const std::uint64_t span = newest - steps;
    while (entry > start && static_cast<WORD>(entry[-1] - steps - 1) < span) {
        entry -= CMemory::kJournalEntry;
        mem.SetWord(entry[0], entry[1]);
    }
    return entry;
}

size_t CRunHistory::FirstInputAfter(std::uint64_t steps) const
{
    const auto first = std::partition_point(m_inputs.begin(), m_inputs.end(),
                                            [steps](const CInput& input) { return input.step <= steps; });
    return static_cast<size_t>(first - m_inputs.begin());
}

std::optional<WORD> CRunHistory::GetNewestStatementAddress() const
{
    if (m_bRecording || IsEmpty() || IsUserStep(m_nEnded)) return std::nullopt;
    // The newest record ends at the tail, or where the ring wrapped when the tail is at its start.
    size_t end = Tail();
    if (end == 0) {
        if (!m_steps.wrapped) return std::nullopt;
        end = m_steps.wrapEnd;
    }
    return m_steps.words[end - 1];
}

bool CRunHistory::UndoOne(CRegister& reg, CMemory& mem)
{
    SettleTail();
    // The newest record ends at the tail, or where the ring wrapped when the tail is at its start.
    size_t end = Tail();
    if (end == 0 && m_steps.wrapped) {
        end = m_steps.wrapEnd;
        m_steps.wrapped = false;
    }
    const bool user = IsUserStep(m_nEnded);
    const size_t start = end - (user ? REG_COUNT : 1);
    const WORD* record = m_steps.words.get() + start;
    // The step's words go back newest first, so that a word written twice gets its first
    // old value. Its entries are the newest of its block with its stamp.
    SetMemCursor(PutBackAfter(m_nEnded - 1, m_nEnded, MemCursor(), m_mem.words.get() + Back().memStart, mem));
    if (user) {
        std::memcpy(static_cast<void*>(&reg), record, sizeof(CRegister));
        m_userSteps.pop_back();
    } else {
        reg[REG_PR] = record[0];
    }
    if (!m_runStarts.empty() && m_runStarts.back() == m_nEnded) m_runStarts.pop_back();
    if (!m_inputs.empty() && m_inputs.back().step == m_nEnded) {
        m_nInputBytes -= InputCost(m_inputs.back());
        m_replay.push_front(std::move(m_inputs.back()));
        m_inputs.pop_back();
    }
    while (!m_anchors.empty() && m_anchors.back().steps >= m_nEnded) m_anchors.pop_back();
    m_pCursor = m_steps.words.get() + start;
    --m_nEnded;
    SettleTail();
    return user;
}

void CRunHistory::ReplayToNewest(CRegister& reg, CMemory& mem, const IStepReplayer& replayer) const
{
    if (m_anchors.empty()) return;
    const CAnchor& anchor = m_anchors.back();
    const WORD pr = reg[REG_PR];
    reg = anchor.reg;
    if (anchor.steps < m_nEnded) {
        // The words as they were at the anchor, then its statements again up to the newest.
        PutBackAfter(anchor.steps, m_nEnded, MemCursor(), m_mem.words.get() + Back().memStart, mem);
        CInputReplay input(m_inputs, FirstInputAfter(anchor.steps));
        for (std::uint64_t k = anchor.steps; k < m_nEnded; ++k) replayer.ReplayStep(reg, mem, input);
    }
    reg[REG_PR] = pr;
}

std::uint64_t CRunHistory::Undo(CRegister& reg, CMemory& mem, const IStepReplayer& replayer, std::uint64_t count,
                                bool* user)
{
    if (m_bRecording) return 0;
    std::uint64_t taken = 0;
    bool lastUser = false;
    for (; taken < count && !IsEmpty(); ++taken) lastUser = UndoOne(reg, mem);
    if (taken > 0 && !lastUser) ReplayToNewest(reg, mem, replayer);
    if (user) *user = lastUser;
    return taken;
}

bool CRunHistory::VisitSteps(const CMemory& mem, const IStepReplayer& replayer, IStepVisitor& visitor) const
{
    auto scratch = std::make_unique<CMemory>(mem);
    scratch->SetJournal(nullptr);
    scratch->Watch(nullptr, nullptr, nullptr);

    // Back to the start: every entry put back, newest first, block by block. The memory
    // ring holds only the words before a write; the words a user's change wrote are taken
    // on the way (there are few), as going forward again cannot compute them.
    struct CRedo {
        std::uint64_t step;
        WORD address, value;
    };
    std::vector<CRedo> redo;  // newest first
    size_t user = m_userSteps.size();
    WORD* const words = m_mem.words.get();
    for (size_t k = m_nBlockCount; k-- > 0;) {
        const CBlock& block = m_blocks[(m_nFirstBlock + k) % kMaxBlocks];
        const bool newest = k + 1 == m_nBlockCount;
        const CBlock* next = newest ? nullptr : &m_blocks[(m_nFirstBlock + k + 1) % kMaxBlocks];
        // A block's entries end where the next one's start, or where the ring wrapped.
        const WORD* entry = newest                             ? MemCursor()
                            : next->memStart >= block.memStart ? words + next->memStart
                                                               : words + m_mem.wrapEnd;
        for (const WORD* start = words + block.memStart; entry > start;) {
            entry -= CMemory::kJournalEntry;
            // Within a block the stamps tell its steps apart.
            const std::uint64_t step = block.steps + static_cast<WORD>(entry[2] - static_cast<WORD>(block.steps));
            while (user > 0 && m_userSteps[user - 1] > step) --user;
            if (user > 0 && m_userSteps[user - 1] == step) redo.push_back({step, entry[0], scratch->GetWord(entry[0])});
            scratch->SetWord(entry[0], entry[1]);
        }
    }

    // And forward again: the statements executed anew, the user's changes from what was taken.
    CInputReplay input(m_inputs, 0);
    CRegister reg;
    bool known = false;  // the registers are known from the first anchor on
    size_t anchor = 0;
    user = 0;
    std::uint64_t counted = m_nDropped - m_nDroppedUser;
    for (std::uint64_t step = m_nDropped + 1; step <= m_nEnded; ++step) {
        const std::uint64_t before = step - 1;
        for (; anchor < m_anchors.size() && m_anchors[anchor].steps <= before; ++anchor)
            if (m_anchors[anchor].steps == before) {
                reg = m_anchors[anchor].reg;
                known = true;
            }
        if (user < m_userSteps.size() && m_userSteps[user] == step) {
            ++user;
            for (; !redo.empty() && redo.back().step == step; redo.pop_back())
                scratch->SetWord(redo.back().address, redo.back().value);
            known = false;  // until the anchor kept after it
            continue;
        }
        // Cannot be: every block starts at an anchor, and so do the steps after a user's change.
        if (!known) return false;
        CStepView view{++counted, reg[REG_PR], {}};
        replayer.ReplayStep(reg, *scratch, input);
        view.after = reg;
        if (!visitor.Visit(view)) return false;
    }
    return true;
}
