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
        if (m_pJournal) {
            m_pJournal[0] = address;
            m_pJournal[1] = m_words[address];
            m_pJournal[2] = m_wStamp;
            m_pJournal += kJournalEntry;
        }
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

    // While a journal is set, every write first puts an entry at the journal's cursor and
    // moves it on: the address, the old value and the stamp, the low bits of the number of
    // the step under way, which the journal's owner counts. The owner makes sure there is
    // room. Null: none.
    static constexpr int kJournalEntry = 3;
    void SetJournal(WORD* cursor) { m_pJournal = cursor; }
    WORD* GetJournal() const { return m_pJournal; }
    void SetStamp(WORD stamp) { m_wStamp = stamp; }
    WORD GetStamp() const { return m_wStamp; }
    void NextStamp() { ++m_wStamp; }

private:
    std::array<WORD, kSize> m_words;
    const std::uint8_t* m_pWatched = nullptr;
    void (*m_pOnWatchedWrite)(void*, WORD) = nullptr;
    void* m_pWatchContext = nullptr;
    WORD* m_pJournal = nullptr;
    WORD m_wStamp = 0;
};
