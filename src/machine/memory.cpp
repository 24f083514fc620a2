#include "machine/memory.h"

#include <algorithm>

void CMemory::ReadBlock(WORD start, WORD* buffer, WORD count) const
{
    const int first = std::min<int>(count, kSize - start);
    std::copy_n(m_words.begin() + start, first, buffer);
    std::copy_n(m_words.begin(), count - first, buffer + first);
}
