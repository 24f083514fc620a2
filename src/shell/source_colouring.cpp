#include "shell/source_colouring.h"

#include <QColor>
#include <QTextCharFormat>
#include <QTextLayout>
#include <vector>
#include "assembler/syntax_colour.h"

namespace {
// Made once and shared, so that a layout compares the formats of its ranges cheaply.
const QTextCharFormat& FormatOf(SyntaxColour::Kind kind)
{
    static const std::vector<QTextCharFormat> kFormats = [] {
        const QColor colours[] = {
            QColor(0x80, 0x00, 0x00),  // label
            QColor(0x00, 0x00, 0xC0),  // operation
            QColor(0x00, 0x70, 0x70),  // register
            QColor(0x90, 0x00, 0x90),  // number
            QColor(0xA0, 0x50, 0x00),  // string
            QColor(0x00, 0x80, 0x00),  // comment
        };
        std::vector<QTextCharFormat> formats;
        for (const QColor& colour : colours) {
            formats.emplace_back();
            formats.back().setForeground(colour);
        }
        return formats;
    }();
    return kFormats[static_cast<size_t>(kind)];
}
}  // namespace

void ColourSourceBlock(QTextBlock& block)
{
    // The block's revision changes with its text: the state remembers the one coloured.
    if (block.userState() == block.revision()) return;
    block.setUserState(block.revision());
    const QString text = block.text();
    static std::vector<SyntaxColour::CSpan> spans;
    SyntaxColour::ColourLine(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())), spans);
    QList<QTextLayout::FormatRange> ranges;
    ranges.reserve(static_cast<qsizetype>(spans.size()));
    for (const SyntaxColour::CSpan& span : spans) ranges.push_back({span.start, span.length, FormatOf(span.kind)});
    block.layout()->setFormats(ranges);
}
