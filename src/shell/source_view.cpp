#include "shell/source_view.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QTextBlock>
#include <algorithm>
#include "assembler/assembler.h"
#include "resources/command_ids.h"
#include "shell/find_replace_dlg.h"
#include "shell/main_frame.h"
#include "shell/source_colouring.h"
#include "shell/source_file.h"
#include "simulator/zelkora_doc.h"
#include "views/view_font.h"

namespace {
bool g_bColouring = true;

const QColor kGutterBackground(0xF0, 0xF0, 0xF0);
const QColor kLineNumber(0x80, 0x80, 0x80);
const QColor kErrorMark(0xD0, 0x20, 0x20);
const QColor kPrMark(0x00, 0x80, 0x00);
const QColor kCurrentLine(0xFF, 0xFF, 0xE0);
const QColor kPrLine(0xD8, 0xF0, 0xD8);

// The editor's left margin; it paints through the editor, which knows where the blocks are.
class CSourceGutter : public QWidget {
public:
    explicit CSourceGutter(CSourceView& editor) : QWidget(&editor), m_editor(editor) {}
    QSize sizeHint() const override { return {m_editor.GutterWidth(), 0}; }

protected:
    void paintEvent(QPaintEvent* event) override { m_editor.PaintGutter(*this, event->rect()); }

private:
    CSourceView& m_editor;
};
}  // namespace

CSourceView::CSourceView(CZelkoraDoc& doc, QWidget* parent)
    : QPlainTextEdit(parent), CPane(doc), m_pGutter(new CSourceGutter(*this))
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ApplyViewFont(*this);
    SetEightColumnTabs(*this);
    m_pGutter->setFont(font());
    connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { UpdateGutterWidth(); });
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
        if (dy != 0)
            m_pGutter->scroll(0, dy);
        else
            m_pGutter->update(0, rect.y(), m_pGutter->width(), rect.height());
    });
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] { UpdateLineHighlights(); });
    UpdateGutterWidth();
    UpdateLineHighlights();
}

CSourceView::~CSourceView() { Detach(); }

void CSourceView::SetSyntaxColouring(bool on) { g_bColouring = on; }

void CSourceView::OnUpdate(CView*, int hint, CHintUpdateView* object)
{
    switch (hint) {
    case HINT_SOURCE_GOTO_LINE:
        if (object) GoToLine(static_cast<int>(object->m_nLine) - 1);
        break;
    case HINT_ASSEMBLE_BEGIN:
        m_errorMarks.clear();
        m_pGutter->update();
        break;
    case HINT_ASSEMBLE_ERRORS:
        if (object && object->m_pObject) {
            int last = -1;
            for (const auto& error : object->m_pObject->GetErrors()) {
                const int line = error->GetLineNumber();
                if (line < 1 || line == last) continue;
                last = line;
                const QTextBlock block = document()->findBlockByNumber(line - 1);
                if (block.isValid()) m_errorMarks.emplace_back(block);
            }
            m_pGutter->update();
        }
        break;
    case HINT_MACHINE_STATE:
    case HINT_REGISTERS_CHANGED: FollowPr(); break;
    default: break;
    }
}

std::vector<int> CSourceView::GetErrorLines() const
{
    std::vector<int> lines;
    for (const QTextCursor& mark : m_errorMarks) lines.push_back(mark.blockNumber() + 1);
    return lines;
}

int CSourceView::FindPrBlock() const
{
    if (!m_doc.FindViewByClass(kSimulateViewClass)) return -1;
    const CMnemonic* statement = m_doc.GetProgram().FindExecutable(m_doc.GetCore().GetRegisters()[REG_PR]);
    if (!statement || statement->GetLineNumber() < 1) return -1;
    const int block = static_cast<int>(statement->GetLineNumber()) - 1;
    return block < document()->blockCount() ? block : -1;
}

void CSourceView::FollowPr()
{
    const int block = FindPrBlock();
    if (block != m_nPrBlock) {
        m_nPrBlock = block;
        UpdateLineHighlights();
        m_pGutter->update();
    }
    if (block < 0) return;
    const int first = firstVisibleBlock().blockNumber();
    const int rows = std::max(1, viewport()->height() / std::max(1, fontMetrics().lineSpacing()));
    if (block < first || block >= first + rows - 1) verticalScrollBar()->setValue(std::max(0, block - rows / 2));
}

void CSourceView::UpdateLineHighlights()
{
    QList<QTextEdit::ExtraSelection> selections;
    QTextEdit::ExtraSelection current;
    current.format.setBackground(kCurrentLine);
    current.format.setProperty(QTextFormat::FullWidthSelection, true);
    current.cursor = textCursor();
    current.cursor.clearSelection();
    selections.push_back(current);
    if (m_nPrBlock >= 0) {
        const QTextBlock block = document()->findBlockByNumber(m_nPrBlock);
        if (block.isValid()) {
            QTextEdit::ExtraSelection pr;
            pr.format.setBackground(kPrLine);
            pr.format.setProperty(QTextFormat::FullWidthSelection, true);
            pr.cursor = QTextCursor(block);
            selections.push_back(pr);
        }
    }
    setExtraSelections(selections);
}

int CSourceView::GutterWidth() const
{
    int digits = 1;
    for (int n = std::max(1, document()->blockCount()); n >= 10; n /= 10) ++digits;
    const QFontMetrics metrics(font());
    // A column for the marks, the numbers, a little space.
    return metrics.height() + metrics.horizontalAdvance(QLatin1Char('9')) * std::max(3, digits) + 6;
}

void CSourceView::UpdateGutterWidth()
{
    const int width = GutterWidth();
    setViewportMargins(width, 0, 0, 0);
    const QRect area = contentsRect();
    m_pGutter->setGeometry(area.left(), area.top(), width, area.height());
}

void CSourceView::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    UpdateGutterWidth();
}

void CSourceView::paintEvent(QPaintEvent* event)
{
    if (g_bColouring) {
        const qreal bottom = viewport()->height();
        // Coloured before its geometry is asked for, so that a block is laid out once, with
        // its colours (the first block below the view is coloured too).
        for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
            ColourSourceBlock(block);
            if (blockBoundingGeometry(block).translated(contentOffset()).top() > bottom) break;
        }
    }
    QPlainTextEdit::paintEvent(event);
}

void CSourceView::PaintGutter(QWidget& gutter, const QRect& rect)
{
    QPainter painter(&gutter);
    painter.fillRect(rect, kGutterBackground);
    QTextBlock block = firstVisibleBlock();
    if (!block.isValid()) return;
    const int firstNumber = block.blockNumber();
    qreal top = blockBoundingGeometry(block).translated(contentOffset()).top();

    // The marked lines among those shown.
    const int shownRows = gutter.height() / std::max(1, fontMetrics().lineSpacing()) + 2;
    std::vector<int> errors;
    for (const QTextCursor& mark : m_errorMarks) {
        const int n = mark.blockNumber();
        if (n >= firstNumber && n <= firstNumber + shownRows) errors.push_back(n);
    }

    const QFontMetrics metrics(font());
    const int markSize = metrics.height();
    const int numberRight = gutter.width() - 4;
    for (int number = firstNumber; block.isValid() && top <= rect.bottom(); block = block.next(), ++number) {
        const qreal height = blockBoundingRect(block).height();
        if (top + height >= rect.top()) {
            const QRectF row(0, top, gutter.width(), metrics.height());
            const bool error = std::find(errors.begin(), errors.end(), number) != errors.end();
            if (error) {
                painter.setPen(Qt::NoPen);
                painter.setBrush(kErrorMark);
                painter.drawEllipse(QRectF(3, top + markSize * 0.2, markSize * 0.6, markSize * 0.6));
            }
            if (number == m_nPrBlock) {
                QPainterPath arrow;
                arrow.moveTo(2, top + markSize * 0.15);
                arrow.lineTo(markSize * 0.8, top + markSize * 0.5);
                arrow.lineTo(2, top + markSize * 0.85);
                arrow.closeSubpath();
                painter.fillPath(arrow, kPrMark);
            }
            painter.setPen(error ? kErrorMark : kLineNumber);
            painter.drawText(QRectF(markSize, top, numberRight - markSize, row.height()),
                             Qt::AlignRight | Qt::AlignVCenter, QString::number(number + 1));
        }
        top += height;
    }
}

bool CSourceView::GetSourceText(std::string& text) const
{
    text = SourceTextToCp932(EditorText(*document()), m_format.encoding);
    return true;
}

void CSourceView::GetCaretPosition(int& line, int& column)
{
    const QTextCursor cursor = textCursor();
    const int s = cursor.selectionStart(), e = cursor.selectionEnd();
    int side;
    if (s == m_caret.start && e == m_caret.end)
        side = m_caret.side;
    else if (s == m_caret.start)
        side = 1;
    else if (e == m_caret.end)
        side = 0;
    else
        side = (e == m_caret.start) ? 0 : 1;
    m_caret = {s, e, side};

    const int position = side == 1 ? e : s;
    const QTextBlock block = document()->findBlock(position);
    line = block.blockNumber() + 1;
    column = position - block.position() + 1;
}

void CSourceView::GoToLine(int line)
{
    QTextBlock block = document()->findBlockByNumber(line);
    if (!block.isValid()) block = document()->lastBlock();
    QTextCursor cursor(block);
    setTextCursor(cursor);
    ensureCursorVisible();
    setFocus();
}

void CSourceView::keyPressEvent(QKeyEvent* event)
{
    m_nLineCount = document()->blockCount();
    m_bPressSeen = true;
    QPlainTextEdit::keyPressEvent(event);
}

void CSourceView::keyReleaseEvent(QKeyEvent* event)
{
    QPlainTextEdit::keyReleaseEvent(event);
    if (!m_bPressSeen) return;
    m_bPressSeen = false;
    const int count = document()->blockCount();
    if (count == m_nLineCount) return;
    CHintUpdateView hint;
    hint.m_nLine = static_cast<std::uint32_t>(document()->findBlock(textCursor().selectionStart()).blockNumber() + 1);
    hint.m_nLineDelta = count - m_nLineCount;
    m_nLineCount = count;
    m_doc.UpdateAllViews(this, HINT_SOURCE_LINES_CHANGED, &hint);
}

void CSourceView::contextMenuEvent(QContextMenuEvent* event)
{
    CMainFrame* frame = CMainFrame::Of(this);
    if (!frame) return;
    const QPoint at =
        event->reason() == QContextMenuEvent::Mouse ? event->globalPos() : viewport()->mapToGlobal(QPoint(5, 5));
    frame->PopupMenu(104, at);
}

void CSourceView::OpenFind(bool replace)
{
    if (!m_pFind) m_pFind = new CFindReplaceDlg(*this, window());
    m_pFind->Open(replace);
}

bool CSourceView::OnCommand(int id)
{
    switch (id) {
    case ID_EDIT_FIND: OpenFind(false); return true;
    case ID_EDIT_REPLACE: OpenFind(true); return true;
    case ID_EDIT_UNDO: undo(); return true;
    case ID_EDIT_CUT: cut(); return true;
    case ID_EDIT_COPY: copy(); return true;
    case ID_EDIT_PASTE: paste(); return true;
    default: return false;
    }
}

bool CSourceView::OnUpdateCommand(CCmdUI& ui)
{
    switch (ui.id) {
    case ID_EDIT_FIND:
    case ID_EDIT_REPLACE: ui.Enable(true); return true;
    case ID_EDIT_UNDO: ui.Enable(document()->isUndoAvailable()); return true;
    case ID_EDIT_CUT:
    case ID_EDIT_COPY: ui.Enable(textCursor().hasSelection()); return true;
    case ID_EDIT_PASTE: ui.Enable(canPaste()); return true;
    default: return false;
    }
}
