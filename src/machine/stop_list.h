#pragma once
#include "machine/word.h"

// The addresses at which the current run stops: none, one or two.
class CStopList {
public:
    void Clear() { m_count = 0; }
    void SetStop(WORD address)
    {
        m_addr[0] = address;
        m_count = 1;
    }
    void SetStops(WORD first, WORD second)
    {
        m_addr[0] = first;
        m_addr[1] = second;
        m_count = 2;
    }
    bool IsStopAddress(WORD address) const
    {
        return (m_count > 0 && m_addr[0] == address) || (m_count > 1 && m_addr[1] == address);
    }

    int GetCount() const { return m_count; }
    WORD GetAddress(int i) const { return m_addr[i]; }

private:
    WORD m_addr[2] = {0, 0};
    int m_count = 0;
};
