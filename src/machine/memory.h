#pragma once
#include <array>
#include <cstdint>
#include "machine/word.h"

// The 65,536 words of COMET II memory. Every 16-bit address is valid.
class CMemory {
public:
    static constexpr int kSize = 65536;

    CMemory() { Clear(); }

    WORD GetWord(WORD address) const { return m_words[address]; }
    void SetWord(WORD address, WORD value)
    {
        if (m_pJournal) m_pJournal(m_pJournalContext, address, m_words[address]);
        m_words[address] = value;
        if (m_pWatched && m_pWatched[address]) m_pOnWatchedWrite(m_pWatchContext, address);
    }
    void Clear() { m_words.fill(0); }

    // After every write to an address whose byte in watched is not 0, onWrite(context, address)
    // is called. The array must hold kSize bytes and outlive the watch.
    void Watch(const std::uint8_t* watched, void (*onWrite)(void*, WORD), void* context)
    {
        m_pWatched = watched;
        m_pOnWatchedWrite = onWrite;
        m_pWatchContext = context;
    }

    // Copies count words from start on, wrapping from #FFFF to #0000.
    void ReadBlock(WORD start, WORD* buffer, WORD count) const;

    // Before every write, journal(context, address, old value) is called; null: no journal.
    void SetJournal(void (*journal)(void*, WORD, WORD), void* context)
    {
        m_pJournal = journal;
        m_pJournalContext = context;
    }

private:
    std::array<WORD, kSize> m_words;
    const std::uint8_t* m_pWatched = nullptr;
    void (*m_pOnWatchedWrite)(void*, WORD) = nullptr;
    void* m_pWatchContext = nullptr;
    void (*m_pJournal)(void*, WORD, WORD) = nullptr;
    void* m_pJournalContext = nullptr;
};
