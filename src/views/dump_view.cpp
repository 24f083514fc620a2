#include "views/dump_view.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QGlyphRun>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <cstdio>
#include "machine/hex.h"
#include "simulator/value_entry.h"
#include "simulator/zelkora_doc.h"
#include "views/change_look.h"
#include "views/drag_drop.h"

namespace {
const char kHeader[] = "ADDR :  +0   +1   +2   +3   +4   +5   +6   +7   : CHARECTOR";
// The scroll bar counts rows: 8192 of them, eight to a page, so the box stops at 8185.
constexpr int kScrollMax = 8192 - 8 + 1;

int ScrollPosition(unsigned top) { return std::min(static_cast<int>(top / 8), kScrollMax); }

char CharacterOf(WORD word) { return IsPrintableWord(word) ? static_cast<char>(word) : '.'; }

// Which word (0-7) a column of a data row belongs to, or -1: digits and the blank
// after them, or the character.
int WordOfColumn(int column)
{
    if (column >= CDumpView::kFirstDigit && column < CDumpView::kSeparator)
        return (column - CDumpView::kFirstDigit) / 5;
    if (column >= CDumpView::kFirstChar && column < CDumpView::kAfterChars) return column - CDumpView::kFirstChar;
    return -1;
}

// The digit (0-3) under a column, or -1 for every cell that is not a digit.
int DigitOfColumn(int column)
{
    if (column < CDumpView::kFirstDigit || column >= CDumpView::kSeparator) return -1;
    const int d = (column - CDumpView::kFirstDigit) % 5;
    return d < 4 ? d : -1;
}

int HexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    if (u >= 'a' && u <= 'f') return u - 'a' + 10;
    return -1;
}
}  // namespace

CDumpView::CDumpView(CZelkoraDoc& doc, QWidget* parent) : QAbstractScrollArea(parent), CPane(doc)
{
    ApplyViewFont(*this);
    m_nAscent = QFontMetrics(font()).ascent();
    // The glyphs of the printable ASCII characters, looked up once: every row is then
    // one run of glyphs placed on the grid, with no text layout while scrolling.
    m_rawFont = QRawFont::fromFont(font());
    if (m_rawFont.isValid()) {
        QString ascii;
        for (char c = 0x20; c < 0x7F; ++c) ascii += QChar(c);
        m_asciiGlyphs = m_rawFont.glyphIndexesForString(ascii);
        if (m_asciiGlyphs.size() != ascii.size() || m_asciiGlyphs.contains(0)) m_asciiGlyphs.clear();
    }
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAcceptDrops(true);
    setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, kScrollMax);
    bar->setPageStep(8);
    bar->setSingleStep(1);
    connect(bar, &QScrollBar::actionTriggered, this, &CDumpView::OnScrollAction);
    connect(bar, &QScrollBar::valueChanged, this, &CDumpView::OnScrollValue);
    m_blink.setInterval(std::max(100, QApplication::cursorFlashTime() / 2));
    connect(&m_blink, &QTimer::timeout, this, [this] {
        m_bCaretOn = !m_bCaretOn;
        RedrawCaret();
    });
}

CDumpView::~CDumpView() { Detach(); }

void CDumpView::OnInitialUpdate()
{
    m_nCaretColumn = kFirstDigit;
    m_nCaretRow = 1;
    SetTop(0x0100);
}

void CDumpView::OnUpdate(CView*, int hint, CHintUpdateView* object)
{
    switch (hint) {
    case HINT_DUMP_GOTO:
        if (!object) return;
        m_nCaretColumn = kFirstDigit + 5 * (object->m_wAddress & 7);
        m_nCaretRow = 1;
        SetTop(object->m_wAddress & ~7u);
        break;
    // Every command repaints: what the last one changed is marked, and only that.
    case HINT_MEMORY_EDITED:
    case HINT_REGISTERS_CHANGED:
    case HINT_MACHINE_STATE: viewport()->update(); break;
    default: break;
    }
}

unsigned CDumpView::GetCaretAddress() const
{
    const int word = WordOfColumn(m_nCaretColumn);
    return RowAddress(m_nCaretRow) + static_cast<unsigned>(std::max(0, word));
}

int CDumpView::GetVisibleRows() const
{
    const int height = viewport()->height();
    return std::max(0, (height + m_nCharHeight - 1) / m_nCharHeight - 1);
}

std::string CDumpView::GetRowText(int row) const
{
    if (row == 0) return kHeader;
    const unsigned address = RowAddress(row);
    if (address > 0xFFFF) return std::string();
    WORD words[8];
    m_doc.GetCore().GetMemory().ReadBlock(static_cast<WORD>(address), words, 8);
    // "AAAA : " then "WWWW " eight times, " : " and the eight characters: word k's
    // character at kFirstChar + k, under the header's CHARECTOR, where the caret, a click
    // and the changed colour take it to be.
    std::string text = Hex4(address) + " : ";
    for (WORD w : words) text += Hex4(w) + " ";
    text += " : ";
    for (WORD w : words) text += CharacterOf(w);
    return text;
}

void CDumpView::RedrawCaret()
{
    viewport()->update(QRect(CellX(m_nCaretColumn) - 1, m_nCaretRow * m_nCharHeight, 3, m_nCharHeight));
}

void CDumpView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    painter.setFont(font());
    const QPalette& palette = this->palette();
    const QRect area = event->rect();
    const int width = viewport()->width();
    const int first = std::max(0, area.top() / m_nCharHeight);
    const int last = area.bottom() / m_nCharHeight;
    for (int row = first; row <= last; ++row) {
        const QRect band(0, row * m_nCharHeight, width, m_nCharHeight);
        if (row > 0 && RowAddress(row) > 0xFFFF) {
            painter.fillRect(QRect(0, band.top(), width, viewport()->height() - band.top()), palette.base());
            break;
        }
        painter.fillRect(band, row == 0 ? palette.button() : palette.base());
        painter.setPen(row == 0 ? palette.buttonText().color() : palette.text().color());
        DrawRowText(painter, GetRowText(row), band.top() + m_nAscent, row == 0 ? 0 : ChangedWords(row));
    }
    if (hasFocus() && m_bCaretOn)
        painter.fillRect(QRect(CellX(m_nCaretColumn), m_nCaretRow * m_nCharHeight, 1, m_nCharHeight), palette.text());
}

unsigned CDumpView::ChangedWords(int row) const
{
    const unsigned address = RowAddress(row);
    const CChangeMarks& marks = m_doc.GetChangeMarks();
    const CMemory& mem = m_doc.GetCore().GetMemory();
    unsigned changed = 0;
    for (unsigned k = 0; k < 8; ++k)
        if (marks.IsWordChanged(static_cast<WORD>(address + k), mem)) changed |= 1u << k;
    return changed;
}

void CDumpView::DrawRowText(QPainter& painter, const std::string& text, int baseline, unsigned changedWords) const
{
    // A changed word's digits and its character in the changed colour, the rest in the pen's.
    const QColor normal = painter.pen().color(), changed = ChangedTextColour(false);
    auto isChanged = [&](size_t c) {
        const int word = WordOfColumn(static_cast<int>(c));
        return word >= 0 && (changedWords >> word & 1u);
    };
    // Each character at its column, so that the grid holds whatever the font's widths.
    if (m_asciiGlyphs.isEmpty()) {
        for (size_t c = 0; c < text.size(); ++c) {
            if (text[c] == ' ') continue;
            painter.setPen(isChanged(c) ? changed : normal);
            painter.drawText(QPoint(CellX(static_cast<int>(c)), baseline), QString(QChar(text[c])));
        }
        painter.setPen(normal);
        return;
    }
    // Two runs of glyphs at most: the row's usual text, and the changed words.
    QList<quint32> glyphs[2];
    QList<QPointF> positions[2];
    for (size_t c = 0; c < text.size(); ++c) {
        const int code = static_cast<unsigned char>(text[c]);
        if (code <= 0x20 || code >= 0x7F) continue;
        const int run = changedWords != 0 && isChanged(c) ? 1 : 0;
        glyphs[run] << m_asciiGlyphs[code - 0x20];
        positions[run] << QPointF(CellX(static_cast<int>(c)), baseline);
    }
    for (int run = 0; run < 2; ++run) {
        if (glyphs[run].isEmpty()) continue;
        QGlyphRun glyphRun;
        glyphRun.setRawFont(m_rawFont);
        glyphRun.setGlyphIndexes(glyphs[run]);
        glyphRun.setPositions(positions[run]);
        painter.setPen(run == 1 ? changed : normal);
        painter.drawGlyphRun(QPointF(0, 0), glyphRun);
    }
    painter.setPen(normal);
}

// --- scrolling -------------------------------------------------------------------

void CDumpView::SetTop(unsigned top)
{
    m_nTop = std::min(top & ~7u, kLastRow);
    QScrollBar* bar = verticalScrollBar();
    if (bar->value() != ScrollPosition(m_nTop)) bar->setValue(ScrollPosition(m_nTop));
    viewport()->update();
}

void CDumpView::DoScroll(Scroll action)
{
    switch (action) {
    case Scroll::LineUp:
        if (m_nTop >= 8) SetTop(m_nTop - 8);
        return;
    case Scroll::LineDown:
        if (m_nTop < kLastRow) SetTop(m_nTop + 8);
        break;
    case Scroll::PageUp: SetTop(m_nTop < 64 ? 0 : m_nTop - 64); return;
    case Scroll::PageDown: SetTop(m_nTop >= 0xFF80 ? kLastRow : m_nTop + 64); break;
    case Scroll::Top: SetTop(0); return;
    case Scroll::Bottom: SetTop(kLastRow); break;
    }
    ClampCaret();
}

void CDumpView::OnScrollAction(int action)
{
    // The scroll bar's steps go through the view's own scroll actions, which reach
    // FFF8 even where the box stops; the bar then shows where the view is.
    QScrollBar* bar = verticalScrollBar();
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: DoScroll(Scroll::LineUp); break;
    case QAbstractSlider::SliderSingleStepAdd: DoScroll(Scroll::LineDown); break;
    case QAbstractSlider::SliderPageStepSub: DoScroll(Scroll::PageUp); break;
    case QAbstractSlider::SliderPageStepAdd: DoScroll(Scroll::PageDown); break;
    case QAbstractSlider::SliderToMinimum: DoScroll(Scroll::Top); break;
    case QAbstractSlider::SliderToMaximum: DoScroll(Scroll::Bottom); break;
    default: return;  // the box dragged: its position arrives as a value
    }
    bar->setSliderPosition(ScrollPosition(m_nTop));
}

void CDumpView::OnScrollValue(int value)
{
    if (value == ScrollPosition(m_nTop)) return;
    SetTop(static_cast<unsigned>(value) * 8);
}

void CDumpView::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta > 0)
        DoScroll(Scroll::LineUp);
    else if (delta < 0)
        DoScroll(Scroll::LineDown);
    event->accept();
}

// --- the caret -------------------------------------------------------------------

void CDumpView::PlaceCaret(int column, int row)
{
    RedrawCaret();
    if (row < 1) {
        if (m_nTop == 0) return;
        SetTop(m_nTop - 8);
        row = 1;
    } else if (RowAddress(row) > 0xFFFF) {
        return;
    } else if (viewport()->height() > m_nCharHeight && (row + 1) * m_nCharHeight >= viewport()->height() &&
               m_nTop < kLastRow) {
        // The row would reach the bottom edge: the view moves up a row under the caret.
        SetTop(m_nTop + 8);
        row = std::max(1, row - 1);
    }
    m_nCaretColumn = column;
    m_nCaretRow = row;
    m_bCaretOn = true;
    RedrawCaret();
}

void CDumpView::ClampCaret()
{
    if (RowAddress(m_nCaretRow) <= 0xFFFF) return;
    RedrawCaret();
    m_nCaretRow = static_cast<int>((kLastRow - m_nTop) / 8) + 1;
    RedrawCaret();
}

void CDumpView::MoveLeft()
{
    if (m_nCaretColumn == kFirstDigit)
        PlaceCaret(kSeparator, m_nCaretRow - 1);
    else if (m_nCaretColumn == kFirstChar)
        PlaceCaret(kAfterChars, m_nCaretRow - 1);
    else
        PlaceCaret(m_nCaretColumn - 1, m_nCaretRow);
}

void CDumpView::MoveRight()
{
    if (m_nCaretColumn >= kSeparator && m_nCaretColumn < kFirstChar)
        PlaceCaret(kFirstDigit, m_nCaretRow + 1);
    else if (m_nCaretColumn == kAfterChars)
        PlaceCaret(kFirstChar, m_nCaretRow + 1);
    else
        PlaceCaret(m_nCaretColumn + 1, m_nCaretRow);
}

void CDumpView::Tab()
{
    const int column = m_nCaretColumn;
    if (column >= kFirstDigit && column < kSeparator)
        PlaceCaret(kFirstChar + WordOfColumn(column), m_nCaretRow);
    else if (column >= kFirstChar && column < kAfterChars)
        PlaceCaret(kFirstDigit + 5 * WordOfColumn(column), m_nCaretRow);
    else if (column >= kSeparator && column < kFirstChar)
        PlaceCaret(kAfterChars, m_nCaretRow);
    else if (column == kAfterChars)
        PlaceCaret(kSeparator, m_nCaretRow);
}

void CDumpView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    m_bCaretOn = true;
    m_blink.start();
    RedrawCaret();
}

void CDumpView::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    m_blink.stop();
    RedrawCaret();
}

// --- input -----------------------------------------------------------------------

void CDumpView::keyPressEvent(QKeyEvent* event)
{
    const int row = m_nCaretRow;
    switch (event->key()) {
    case Qt::Key_Left: MoveLeft(); return;
    case Qt::Key_Right: MoveRight(); return;
    case Qt::Key_Up: PlaceCaret(m_nCaretColumn, row - 1); return;
    case Qt::Key_Down: PlaceCaret(m_nCaretColumn, row + 1); return;
    case Qt::Key_Tab: Tab(); return;
    case Qt::Key_PageUp: DoScroll(Scroll::PageUp); return;
    case Qt::Key_PageDown: DoScroll(Scroll::PageDown); return;
    case Qt::Key_Home: DoScroll(Scroll::Top); return;
    case Qt::Key_End: DoScroll(Scroll::Bottom); return;
    default: break;
    }
    const QString text = event->text();
    if (text.size() == 1 && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        const int digit = HexValue(text[0]);
        if (DigitOfColumn(m_nCaretColumn) >= 0 && digit >= 0) return EditDigit(digit);
        const char16_t c = text[0].unicode();
        if (m_nCaretColumn >= kFirstChar && m_nCaretColumn < kAfterChars && c >= 0x20 && c <= 0x7E)
            return EditCharacter(static_cast<char>(c));
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void CDumpView::EditDigit(int digit)
{
    const unsigned address = GetCaretAddress();
    if (address > 0xFFFF) return;
    const int d = DigitOfColumn(m_nCaretColumn);
    const int word = WordOfColumn(m_nCaretColumn);
    const int shift = 12 - 4 * d;
    const WORD old = m_doc.GetCore().GetMemory().GetWord(static_cast<WORD>(address));
    const WORD value = static_cast<WORD>((old & ~(0xF << shift)) | (digit << shift));
    // Whole: the word edited before this one is no longer the one last changed.
    viewport()->update();
    MoveRight();
    if (d == 3) MoveRight();
    if (d == 3 && word == 7) MoveRight();
    m_doc.SetMemoryWord(this, static_cast<WORD>(address), value);
}

void CDumpView::EditCharacter(char c)
{
    const unsigned address = GetCaretAddress();
    if (address > 0xFFFF) return;
    const int word = WordOfColumn(m_nCaretColumn);
    viewport()->update();
    MoveRight();
    if (word == 7) MoveRight();
    m_doc.SetMemoryWord(this, static_cast<WORD>(address), static_cast<WORD>(static_cast<unsigned char>(c)));
}

void CDumpView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    const QPoint at = event->position().toPoint();
    const int column = at.x() < 8 ? -1 : (at.x() - 8) / m_nCharWidth;
    const int row = at.y() / m_nCharHeight;
    const bool cell = (column >= kFirstDigit && column < kSeparator) || (column >= kFirstChar && column <= kAfterChars);
    if (cell) PlaceCaret(column, row);
    setFocus(Qt::MouseFocusReason);
}

void CDumpView::contextMenuEvent(QContextMenuEvent* event)
{
    // No menu here, and the request goes no further.
    event->accept();
}

// --- drops -----------------------------------------------------------------------

void CDumpView::dragEnterEvent(QDragEnterEvent* event) { AcceptBlockDrag(event, {kSymbolFormat, kRegisterFormat}); }

void CDumpView::dragMoveEvent(QDragMoveEvent* event) { AcceptBlockDrag(event, {kSymbolFormat, kRegisterFormat}); }

void CDumpView::dropEvent(QDropEvent* event)
{
    // A label first, when the data offer both.
    CDragBlock block;
    if (!TakeBlockDrop(event, {kSymbolFormat, kRegisterFormat}, block)) return;
    CHintUpdateView hint;
    hint.m_wAddress = block.value;
    m_doc.UpdateAllViews(nullptr, HINT_DUMP_GOTO, &hint);
    setFocus(Qt::OtherFocusReason);
}
