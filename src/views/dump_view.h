#pragma once
#include <QAbstractScrollArea>
#include <QList>
#include <QRawFont>
#include <QTimer>
#include <string>
#include "machine/word.h"
#include "views/pane.h"

// The memory as a hexadecimal dump, eight words and their characters a row, over
// the whole address space; hexadecimal digits and characters are typed over in
// place at the caret. Only the visible rows are ever painted.
class CDumpView : public QAbstractScrollArea, public CPane {
    Q_OBJECT
public:
    // Columns of the text grid.
    static constexpr int kFirstDigit = 7;  // word k's digits start at 7 + 5k
    static constexpr int kSeparator = 47;  // " : " before the characters, to 49
    static constexpr int kFirstChar = 50;  // word k's character at 50 + k
    static constexpr int kAfterChars = 58;
    static constexpr unsigned kLastRow = 0xFFF8;

    explicit CDumpView(CZelkoraDoc& doc, QWidget* parent = nullptr);
    ~CDumpView() override;

    const char* GetClassName() const override { return kDumpViewClass; }
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, int hint, CHintUpdateView* object) override;

    unsigned GetTopAddress() const { return m_nTop; }
    int GetCaretColumn() const { return m_nCaretColumn; }
    int GetCaretRow() const { return m_nCaretRow; }
    // The address of the word under the caret (also for the blank after it).
    unsigned GetCaretAddress() const;
    // The text of a screen row as it is painted: row 0 the header, then the data rows
    // (empty for a row past FFFF).
    std::string GetRowText(int row) const;
    // Data rows whose top edge lies inside the client area.
    int GetVisibleRows() const;
    bool IsCaretShown() const { return hasFocus(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // Tab moves the caret between the hexadecimal and the character columns.
    bool focusNextPrevChild(bool) override { return false; }
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    enum class Scroll { LineUp, LineDown, PageUp, PageDown, Top, Bottom };
    void DoScroll(Scroll action);
    void SetTop(unsigned top);
    void OnScrollAction(int action);
    void OnScrollValue(int value);

    void PlaceCaret(int column, int row);
    void ClampCaret();
    void MoveLeft();
    void MoveRight();
    void Tab();
    void EditDigit(int digit);
    void EditCharacter(char c);

    int CellX(int column) const { return 8 + column * m_nCharWidth; }
    void RedrawCaret();
    unsigned RowAddress(int row) const { return m_nTop + 8u * static_cast<unsigned>(row - 1); }

    // changedWords: a bit per word (bit k for word k) that the last command changed.
    void DrawRowText(QPainter& painter, const std::string& text, int baseline, unsigned changedWords) const;
    unsigned ChangedWords(int row) const;

    int m_nAscent = 12;
    QRawFont m_rawFont;
    QList<quint32> m_asciiGlyphs;  // glyph of each character 20-7E hexadecimal; empty: draw characters one by one
    unsigned m_nTop = 0;           // address of data row 1, a multiple of 8
    int m_nCaretColumn = kFirstDigit;
    int m_nCaretRow = 1;
    bool m_bCaretOn = false;  // the blinking caret's phase while the view has the focus
    QTimer m_blink;
};
