#include "simulator/run_history.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <type_traits>
#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#endif

static_assert(std::is_trivially_copyable_v<CRegister> && sizeof(CRegister) == 11 * sizeof(WORD),
              "a user's record copies the registers as eleven words");

CStepShape CStepShape::From(const CMnemonic::CStepEffect& effect)
{
    CStepShape shape;
    WORD registers = effect.registers & static_cast<WORD>(~CMnemonic::RegisterBit(REG_PR));
    const WORD sp = CMnemonic::RegisterBit(REG_SP);
    // SP need not be kept when its old value follows from the new one, unless the record keeps them all anyway.
    if (effect.stackChange != 0 && (registers & sp) && __builtin_popcount(registers) <= 3) {
        registers &= static_cast<WORD>(~sp);
        shape.oldSp = static_cast<std::int8_t>(-effect.stackChange);
    }
    const int count = __builtin_popcount(registers);
    if (count > 2) {
        shape.count = kAllRegisters;
        shape.oldSp = 0;
    } else {
        shape.count = static_cast<std::uint8_t>(count);
        int k = 0;
        for (int r = 0; r < REG_COUNT; ++r)
            if (registers & CMnemonic::RegisterBit(r)) shape.reg[k++] = static_cast<std::uint8_t>(r);
    }
    return shape;
}

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

void CRunHistory::Attach(const CStepShape* shapes, CMemory& memory)
{
    m_pShapes = shapes;
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
    m_inputs.clear();
    m_replay.clear();
    m_nInputBytes = 0;
    UpdateLimits();
}

size_t CRunHistory::SideBytes() const
{
    return m_nInputBytes + (m_userSteps.size() + m_runStarts.size()) * sizeof(std::uint64_t) +
           m_blocks.size() * sizeof(CBlock);
}

size_t CRunHistory::GetBytes() const
{
    if (!m_steps.words) return 0;
    return (m_steps.Used(Tail()) + m_mem.Used(MemTail())) * sizeof(WORD) + SideBytes();
}

WORD* CRunHistory::StartRecording()
{
    JournalOn();
    m_pMemory->SetStamp(static_cast<WORD>(m_nEnded));
    m_bRecording = true;
    return Check(m_pCursor);
}

void CRunHistory::StopRecording(WORD* cursor)
{
    m_pCursor = Check(cursor);  // catches up too
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
    m_pCursor += CStepShape::kAllRegisters;
}

void CRunHistory::EndUserChange()
{
    ++m_nEnded;
    m_userSteps.push_back(m_nEnded);
    m_pCursor = Check(m_pCursor);
    while (SideBytes() > m_nBudget / 4 && m_nBlockCount > 1) DropOldestBlock();
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
    // The stamp is the number of the step under way.
    m_inputs.push_back({m_nEnded + static_cast<WORD>(m_pMemory->GetStamp() - static_cast<WORD>(m_nEnded)), ok, line});
    m_nInputBytes += InputCost(m_inputs.back());
    // Input lines count against the budget too, a block of steps at a time; the block
    // being written stays.
    while (SideBytes() > m_nBudget / 4 && m_nBlockCount > 1) DropOldestBlock();
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

CRunHistory::CRecordView CRunHistory::ReadBack(size_t& end, bool& wrapped, std::uint64_t number) const
{
    if (end == 0 && wrapped) {
        end = m_steps.wrapEnd;
        wrapped = false;
    }
    const WORD* base = m_steps.words.get();
    CRecordView view{};
    size_t at = end;
    if (IsUserStep(number)) {
        view.user = true;
        view.shape.count = CStepShape::kAllRegisters;
    } else {
        view.pr = base[--at];
        view.shape = m_pShapes[view.pr];
    }
    at -= view.shape.count;
    view.regs = base + at;
    view.start = at;
    return view;
}

void CRunHistory::RestoreRegisters(const CRecordView& record, CRegister& reg)
{
    if (record.shape.count == CStepShape::kAllRegisters) {
        std::memcpy(static_cast<void*>(&reg), record.regs, sizeof(CRegister));
    } else {
        reg[REG_SP] = static_cast<WORD>(reg[REG_SP] + record.shape.oldSp);
        for (int k = 0; k < record.shape.count; ++k) reg[record.shape.reg[k]] = record.regs[k];
    }
    if (!record.user) reg[REG_PR] = record.pr;
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

bool CRunHistory::Undo(CRegister& reg, CMemory& mem, bool* user)
{
    if (IsEmpty() || m_bRecording) return false;
    SettleTail();
    size_t end = Tail();
    const CRecordView record = ReadBack(end, m_steps.wrapped, m_nEnded);
    // The step's words go back newest first, so that a word written twice gets its first
    // old value. Its entries are the newest of its block with its stamp, which no other
    // step of the block shares.
    const auto stamp = static_cast<WORD>(m_nEnded);
    WORD* entry = MemCursor();
    for (const WORD* start = m_mem.words.get() + Back().memStart; entry > start && entry[-1] == stamp;) {
        entry -= CMemory::kJournalEntry;
        mem.SetWord(entry[0], entry[1]);
    }
    SetMemCursor(entry);
    RestoreRegisters(record, reg);
    if (record.user) m_userSteps.pop_back();
    if (!m_runStarts.empty() && m_runStarts.back() == m_nEnded) m_runStarts.pop_back();
    if (!m_inputs.empty() && m_inputs.back().step == m_nEnded) {
        m_nInputBytes -= InputCost(m_inputs.back());
        m_replay.push_front(std::move(m_inputs.back()));
        m_inputs.pop_back();
    }
    m_pCursor = m_steps.words.get() + record.start;
    --m_nEnded;
    SettleTail();
    if (user) *user = record.user;
    return true;
}

std::vector<CRunHistory::CStepView> CRunHistory::ListSteps(const CRegister& now) const
{
    // Walked back from now: the registers after a step are those before the next one.
    std::vector<CStepView> steps;
    steps.reserve(static_cast<size_t>(GetStepCount()));
    CRegister reg = now;
    size_t end = Tail();
    bool wrapped = m_steps.wrapped;
    for (std::uint64_t number = m_nEnded; number > m_nDropped; --number) {
        const CRecordView record = ReadBack(end, wrapped, number);
        const CRegister after = reg;
        RestoreRegisters(record, reg);
        if (!record.user) steps.push_back({0, record.pr, after});
        end = record.start;
    }
    std::reverse(steps.begin(), steps.end());
    std::uint64_t number = m_nDropped - m_nDroppedUser;
    for (CStepView& step : steps) step.number = ++number;
    return steps;
}
