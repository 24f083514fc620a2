#include "assembler/operation_table.h"

#include <array>
#include <vector>
#include "assembler/mnemonic_classes.h"

namespace {
template <class T>
CMnemonic* Make(CStatementArena& arena, WORD address, CStatementText&& text, IAssemblyContext* assembler)
{
    return arena.Make<T>(address, std::move(text), assembler);
}

constexpr COperation kOperations[] = {
    {"START", 0xFF01, Make<CMnemonicSTART>}, {"END", 0xFF02, Make<CMnemonicEND>},
    {"DC", 0xFF03, Make<CMnemonicDC>},       {"DS", 0xFF04, Make<CMnemonicDS>},
    {"IN", 0xFF05, Make<CMnemonicIN>},       {"OUT", 0xFF06, Make<CMnemonicOUT>},
    {"RPUSH", 0xFF07, Make<CMnemonicRPUSH>}, {"RPOP", 0xFF08, Make<CMnemonicRPOP>},
    {"LD", 0x1000, Make<CMnemonicLD>},       {"ST", 0x1100, Make<CMnemonicST>},
    {"LAD", 0x1200, Make<CMnemonicLAD>},     {"ADDA", 0x2000, Make<CMnemonicADDA>},
    {"ADDL", 0x2200, Make<CMnemonicADDL>},   {"SUBA", 0x2100, Make<CMnemonicSUBA>},
    {"SUBL", 0x2300, Make<CMnemonicSUBL>},   {"AND", 0x3000, Make<CMnemonicAND>},
    {"OR", 0x3100, Make<CMnemonicOR>},       {"XOR", 0x3200, Make<CMnemonicXOR>},
    {"CPA", 0x4000, Make<CMnemonicCPA>},     {"CPL", 0x4100, Make<CMnemonicCPL>},
    {"SLA", 0x5000, Make<CMnemonicSLA>},     {"SRA", 0x5100, Make<CMnemonicSRA>},
    {"SLL", 0x5200, Make<CMnemonicSLL>},     {"SRL", 0x5300, Make<CMnemonicSRL>},
    {"JPL", 0x6500, Make<CMnemonicJPL>},     {"JMI", 0x6100, Make<CMnemonicJMI>},
    {"JNZ", 0x6200, Make<CMnemonicJNZ>},     {"JZE", 0x6300, Make<CMnemonicJZE>},
    {"JOV", 0x6600, Make<CMnemonicJOV>},     {"JUMP", 0x6400, Make<CMnemonicJUMP>},
    {"PUSH", 0x7000, Make<CMnemonicPUSH>},   {"POP", 0x7100, Make<CMnemonicPOP>},
    {"CALL", 0x8000, Make<CMnemonicCALL>},   {"RET", 0x8100, Make<CMnemonicRET>},
    {"SVC", 0xF000, Make<CMnemonicSVC>},     {"NOP", 0x0000, Make<CMnemonicNOP>},
};
}  // namespace

const COperation* FindOperation(std::string_view name)
{
    // Every line goes through here: compare only the names with the same first
    // letter, still in table order.
    struct ByFirstLetter {
        std::array<std::vector<const COperation*>, 26> rows;
        ByFirstLetter()
        {
            for (const COperation& op : kOperations) rows[op.name[0] - 'A'].push_back(&op);
        }
    };
    static const ByFirstLetter index;
    if (name.empty() || name[0] < 'A' || name[0] > 'Z') return nullptr;
    for (const COperation* op : index.rows[name[0] - 'A'])
        if (op->name == name) return op;
    return nullptr;
}
