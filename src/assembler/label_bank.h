#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
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
class CLabelBank {
public:
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    using Map = std::unordered_map<std::string, std::unique_ptr<CLabel>, Hash, std::equal_to<>>;

    bool DefineLabel(std::string_view name, WORD address);
    bool DefineLiteralLabel(WORD instructionAddress, WORD literalAddress);
    const CLabel* Lookup(std::string_view name) const;
    int GetLastError() const { return m_nLastError; }
    void RemoveAll() { m_map.clear(); }
    // Room for about count entries without rehashing.
    void Reserve(size_t count) { m_map.reserve(count); }
    size_t GetCount() const { return m_map.size(); }

    // Enumeration in the map's own order.
    Map::const_iterator begin() const { return m_map.begin(); }
    Map::const_iterator end() const { return m_map.end(); }

    static std::string LiteralLabelName(WORD instructionAddress);

private:
    Map m_map;
    int m_nLastError = 0;
};
