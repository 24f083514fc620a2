#pragma once
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include "machine/word.h"

class CLabelBank;
class CMemory;
class CRegister;

// The display formats of a watch, in the order of the dialog's radio buttons.
enum : int { WATCH_HEX = 0, WATCH_SIGNED, WATCH_UNSIGNED, WATCH_BINARY, WATCH_CHAR, WATCH_FORMAT_COUNT };

// Longest run of words each format shows.
unsigned WatchMaxLength(int format);

// One watch: a run of length words from a target (#hex address, a label or $register)
// in one format. The target is kept as typed and resolved whenever it is shown.
class CWatchInfo {
public:
    CWatchInfo(std::string target, unsigned length, int format)
        : m_strTarget(std::move(target)), m_nLength(length), m_nFormat(format)
    {
    }
    virtual ~CWatchInfo() = default;

    const std::string& GetTarget() const { return m_strTarget; }
    unsigned GetLength() const { return m_nLength; }
    int GetFormat() const { return m_nFormat; }
    void Set(std::string target, unsigned length, int format)
    {
        m_strTarget = std::move(target);
        m_nLength = length;
        m_nFormat = format;
    }

private:
    std::string m_strTarget;
    unsigned m_nLength;
    int m_nFormat;
};

// The document's watches in the order they were added; it owns them.
class CWatchList {
public:
    CWatchInfo& Add(std::string target, unsigned length, int format);
    // Removes and deletes the watch; false when it is not in the list.
    bool Remove(const CWatchInfo* watch);
    size_t GetSize() const { return m_watches.size(); }
    auto begin() const { return m_watches.begin(); }
    auto end() const { return m_watches.end(); }

private:
    std::list<std::unique_ptr<CWatchInfo>> m_watches;
};

// The start address of a target with the registers and labels of now; false when it does not resolve.
bool ResolveWatchTarget(std::string_view target, const CRegister& reg, const CLabelBank* labels, WORD& address);

// The value text of a watch: its words in its format, or "???" when the target does not resolve.
std::string FormatWatchValue(const CWatchInfo& watch, const CRegister& reg, const CMemory& mem,
                             const CLabelBank* labels);

// Checks an entry of the watch dialog in the dialog's order: 0 when it is good,
// otherwise the number of the message that says what is wrong (1003-1006).
int ValidateWatch(std::string_view target, unsigned length, int format, const CLabelBank* labels);

// The ranges of lengths, for message 1005.
std::string WatchLengthRangeText();
