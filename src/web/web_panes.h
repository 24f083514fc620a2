#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "machine/word.h"

class CMnemonic;
class CMnemonicArray;
class CZelkoraDoc;

// The rows the page's panes draw, made from the document's live state as the desktop
// panes make theirs: the same texts, and what the last command changed. Code page 932
// text comes as the editor shows it (a byte that is no character as its kept byte).

struct CListingRow {
    std::string address;  // "AAAA"
    std::u16string source;
    std::uint32_t line = 0;  // the source line (1-based)
    bool executable = false, breakpoint = false, pr = false, lastRun = false;
};

struct CRegisterRow {
    std::string name, hex, signedText, unsignedText, binary, character;
    WORD value = 0;  // the register's word (FR: its FLAG_ bits), for what the page does with it
    bool changed = false;
    int changedFlags = 0;  // FR: FLAG_OF, FLAG_SF, FLAG_ZF that changed
};

struct CStackRow {
    std::string address, value;
    bool changed = false;
};

struct CLabelRow {
    std::u16string name;
    std::string address;
    WORD value = 0;  // the address as a number, where a dragged or chosen label goes
};

// Eight words from address: their digits in a row (four each) and their characters.
struct CDumpRow {
    std::string address, digits, characters;
    int changed = 0;  // bit k: word k changed
};

struct CWatchRow {
    std::string target;
    unsigned length = 0;
    int format = 0;
    std::u16string value;
    bool changed = false;
};

struct CWebError {
    int line = 0;      // 1-based; -1: no line
    std::string text;  // "ERROR #%d: %s" (UTF-8)
};

// The listing's rows are the program's statements in source order; PR and addresses find
// their rows through this index, made once per assembly.
class CListingIndex {
public:
    void Build(const CMnemonicArray& program);
    std::uint32_t GetRowCount() const { return m_nRows; }
    // The row of the first executable statement at the address (where PR shows), or -1.
    int ExecutableRowAt(WORD address) const { return m_firstExecutable.empty() ? -1 : m_firstExecutable[address]; }
    // The row a label or an address goes to: the last statement at the address, or -1.
    int RowAt(WORD address) const { return m_last.empty() ? -1 : m_last[address]; }

private:
    std::uint32_t m_nRows = 0;
    std::vector<int> m_firstExecutable, m_last;
};

std::vector<CListingRow> MakeListingRows(const CZelkoraDoc& doc, const CListingIndex& index, std::uint32_t first,
                                         std::uint32_t count);
std::vector<CRegisterRow> MakeRegisterRows(const CZelkoraDoc& doc);
// From SP on, count rows (the stack pane shows 64).
std::vector<CStackRow> MakeStackRows(const CZelkoraDoc& doc, std::uint32_t count);
// Sorted by name (column 0, byte order) or address (1), kept in the order of definition
// where they are equal.
std::vector<CLabelRow> MakeLabelRows(const CZelkoraDoc& doc, int column, bool descending);
// count rows from the row that holds first (eight words a row, to #FFFF at most).
std::vector<CDumpRow> MakeDumpRows(const CZelkoraDoc& doc, WORD first, std::uint32_t count);
std::vector<CWatchRow> MakeWatchRows(const CZelkoraDoc& doc);
