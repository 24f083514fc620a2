#pragma once
#include <array>
#include "machine/word.h"

// The 65,536 words of COMET II memory. Every 16-bit address is valid.
class CMemory {
public:
    static constexpr int kSize = 65536;

    CMemory() { Clear(); }

    WORD GetWord(WORD address) const { return m_words[address]; }
    void SetWord(WORD address, WORD value) { m_words[address] = value; }
    void Clear() { m_words.fill(0); }

    // Copies count words from start on, wrapping from #FFFF to #0000.
    void ReadBlock(WORD start, WORD* buffer, WORD count) const;

private:
    std::array<WORD, kSize> m_words;
};
