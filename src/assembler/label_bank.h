#pragma once
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>
#include "machine/word.h"

class CLabel {
public:
    CLabel(std::string name, WORD value) : m_wValue(value), m_strName(std::move(name)) {}
    virtual ~CLabel() = default;
    WORD GetValue() const { return m_wValue; }
    const std::string& GetName() const { return m_strName; }

private:
    WORD m_wValue;
    std::string m_strName;
};

// Label name -> address, for the whole source text (labels have no scope). Also holds
// the hidden "__%04X__" entries that name the literal of the instruction at an address.
// Every name that can be defined has at most 8 bytes, so the index keys a name by its
// bytes packed into one 64-bit word: an open-addressing table that stays in cache.
class CLabelBank {
public:
    bool DefineLabel(std::string_view name, WORD address);
    bool DefineLiteralLabel(WORD instructionAddress, WORD literalAddress);
    const CLabel* Lookup(std::string_view name) const;
    int GetLastError() const { return m_nLastError; }
    void RemoveAll();
    size_t GetCount() const { return m_labels.size(); }

    // Enumeration, in the order of definition.
    std::deque<CLabel>::const_iterator begin() const { return m_labels.begin(); }
    std::deque<CLabel>::const_iterator end() const { return m_labels.end(); }

    static std::string LiteralLabelName(WORD instructionAddress);

private:
    struct Slot {
        std::uint64_t key = 0;  // 0: empty (no definable name packs to 0)
        std::uint32_t index = 0;
    };
    // False for names that can never be defined (longer than 8 bytes, empty, or with a NUL byte).
    static bool PackName(std::string_view name, std::uint64_t& key);
    size_t SlotOf(std::uint64_t key) const;
    bool Insert(std::string_view name, WORD value);
    void Rebuild(size_t slots);

    std::deque<CLabel> m_labels;
    std::vector<Slot> m_slots;
    int m_nLastError = 0;
};
