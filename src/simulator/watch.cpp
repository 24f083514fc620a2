#include "simulator/watch.h"

#include <algorithm>
#include <cstdio>
#include "machine/hex.h"
#include "machine/memory.h"
#include "machine/register.h"
#include "resources/message_ids.h"
#include "simulator/value_entry.h"

namespace {
constexpr unsigned kMaxLength[WATCH_FORMAT_COUNT] = {8, 8, 8, 4, 80};

// A register target: "$" and GR0-GR7 or SP.
bool RegisterTarget(std::string_view target, int& index)
{
    index = FindRegisterIndex(target.substr(1));
    return index >= 0 && index <= REG_SP;
}

std::string WordText(WORD word, int format)
{
    char text[24];
    switch (format) {
    case WATCH_HEX: return "#" + Hex4(word);
    case WATCH_SIGNED: std::snprintf(text, sizeof text, "%d", AsSigned(word)); break;
    case WATCH_UNSIGNED: std::snprintf(text, sizeof text, "%u", word); break;
    case WATCH_BINARY: return "%" + FormatBinaryWord(word);
    default: return std::string(1, IsPrintableWord(word) ? static_cast<char>(word) : '.');
    }
    return text;
}
}  // namespace

unsigned WatchMaxLength(int format) { return format >= 0 && format < WATCH_FORMAT_COUNT ? kMaxLength[format] : 0; }

CWatchInfo& CWatchList::Add(std::string target, unsigned length, int format)
{
    m_watches.push_back(std::make_unique<CWatchInfo>(std::move(target), length, format));
    return *m_watches.back();
}

bool CWatchList::Remove(const CWatchInfo* watch)
{
    const auto it = std::find_if(m_watches.begin(), m_watches.end(), [&](const auto& w) { return w.get() == watch; });
    if (it == m_watches.end()) return false;
    m_watches.erase(it);
    return true;
}

bool ResolveWatchTarget(std::string_view target, const CRegister& reg, const CLabelBank* labels, WORD& address)
{
    if (target.empty()) return false;
    if (target[0] == '$') {
        int index;
        if (!RegisterTarget(target, index)) return false;
        address = reg[index];
        return true;
    }
    const char first = target[0];
    if (first != '#' && first != '_' && (first < 'A' || first > 'Z')) return false;
    return ParseWordValue(target, labels, address);
}

std::string FormatWatchValue(const CWatchInfo& watch, const CRegister& reg, const CMemory& mem,
                             const CLabelBank* labels)
{
    WORD start;
    if (!ResolveWatchTarget(watch.GetTarget(), reg, labels, start)) return "???";
    const bool chars = watch.GetFormat() == WATCH_CHAR;
    // The dialog keeps lengths within the format's maximum; a longer one is shown only that far.
    const unsigned length = std::min(watch.GetLength(), std::max(1u, WatchMaxLength(watch.GetFormat())));
    std::string text = chars ? "'" : "";
    for (unsigned i = 0; i < length; ++i) {
        if (i > 0 && !chars) text += ", ";
        text += WordText(mem.GetWord(static_cast<WORD>(start + i)), watch.GetFormat());
    }
    if (chars) text += "'";
    return text;
}

int ValidateWatch(std::string_view target, unsigned length, int format, const CLabelBank* labels)
{
    const char first = target.empty() ? '\0' : target[0];
    if (first == '$') {
        int index;
        if (!RegisterTarget(target, index)) return MSG_WATCH_TARGET_REGISTER;
    } else if (first == '#' || first == '_' || (first >= 'A' && first <= 'Z')) {
        WORD address;
        if (!ParseWordValue(target, labels, address)) return MSG_WATCH_TARGET_ADDRESS;
    } else {
        return MSG_WATCH_TARGET;
    }
    if (length == 0 || length > WatchMaxLength(format)) return MSG_WATCH_LENGTH;
    return 0;
}

std::string WatchLengthRangeText()
{
    char text[256];
    std::snprintf(text, sizeof text,
                  "16進数形式表示 : 1～%u\n符号付10進数形式表示 : 1～%u\n符号無10進数形式表示 : 1～%u\n"
                  "2進数形式表示 : 1～%u\n文字形式表示 : 1～%u",
                  kMaxLength[0], kMaxLength[1], kMaxLength[2], kMaxLength[3], kMaxLength[4]);
    return text;
}
