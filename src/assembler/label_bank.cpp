#include "assembler/label_bank.h"

#include <algorithm>
#include <cstring>
#include <random>

#include "assembler/error_numbers.h"
#include "assembler/operand_syntax.h"
#include "machine/hex.h"
#include "machine/register.h"

bool CLabelBank::DefineLabel(std::string_view name, WORD address)
{
    if (name.empty()) return true;
    if (const int error = CheckLabelName(name)) {
        m_nLastError = error;
        return false;
    }
    const int reg = FindRegisterIndex(name);
    if (reg >= REG_GR0 && reg <= REG_GR7) {
        m_nLastError = ERR_LABEL_REGISTER;
        return false;
    }
    return Insert(name, address);
}

std::string CLabelBank::LiteralLabelName(WORD instructionAddress)
{
    // "__%04X__", formatted by hand: this runs for every literal operand.
    std::string name = "__0000__";
    PutHex4(name.data() + 2, instructionAddress);
    return name;
}

bool CLabelBank::DefineLiteralLabel(WORD instructionAddress, WORD literalAddress)
{
    return Insert(LiteralLabelName(instructionAddress), literalAddress);
}

bool CLabelBank::PackName(std::string_view name, std::uint64_t& key)
{
    if (name.empty() || name.size() > 8 || name.find('\0') != std::string_view::npos) return false;
    key = 0;
    std::memcpy(&key, name.data(), name.size());
    return true;
}

namespace {
// A per-process random seed mixed into every key, so that no source can be written
// whose labels all fall on the same slots.
std::uint64_t HashSeed()
{
    static const std::uint64_t seed = [] {
        std::random_device device;
        return (std::uint64_t{device()} << 32) ^ device();
    }();
    return seed;
}

std::uint64_t Mix(std::uint64_t key)
{
    key ^= HashSeed();
    key = (key ^ (key >> 30)) * 0xBF58476D1CE4E5B9ull;
    key = (key ^ (key >> 27)) * 0x94D049BB133111EBull;
    return key ^ (key >> 31);
}
}  // namespace

size_t CLabelBank::SlotOf(std::uint64_t key) const
{
    const size_t mask = m_slots.size() - 1;
    size_t i = static_cast<size_t>(Mix(key)) & mask;
    while (m_slots[i].key != 0 && m_slots[i].key != key) i = (i + 1) & mask;
    return i;
}

bool CLabelBank::Insert(std::string_view name, WORD value)
{
    std::uint64_t key;
    if (!PackName(name, key)) return false;  // never reached: callers check the name first
    if ((m_labels.size() + 1) * 2 > m_slots.size()) Rebuild(std::max<size_t>(4096, m_slots.size() * 2));
    Slot& slot = m_slots[SlotOf(key)];
    if (slot.key == key) {
        m_nLastError = ERR_LABEL_DUPLICATE;
        return false;
    }
    slot.key = key;
    slot.index = static_cast<std::uint32_t>(m_labels.size());
    m_labels.emplace_back(std::string(name), value);
    return true;
}

void CLabelBank::Rebuild(size_t slots)
{
    std::vector<Slot> old(slots);
    old.swap(m_slots);
    for (const Slot& entry : old)
        if (entry.key != 0) m_slots[SlotOf(entry.key)] = entry;
}

void CLabelBank::RemoveAll()
{
    m_labels.clear();
    m_slots.clear();
}

const CLabel* CLabelBank::Lookup(std::string_view name) const
{
    std::uint64_t key;
    if (m_slots.empty() || !PackName(name, key)) return nullptr;
    const Slot& slot = m_slots[SlotOf(key)];
    return slot.key == key ? &m_labels[slot.index] : nullptr;
}
