#include "shell/find_replace_dlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>

CFindReplaceDlg::CFindReplaceDlg(QPlainTextEdit& editor, QWidget* parent) : QDialog(parent), m_editor(editor)
{
    auto* layout = new QGridLayout(this);
    auto* findLabel = new QLabel(QString::fromUtf8("検索する文字列(&N):"), this);
    m_pFind = new QLineEdit(this);
    findLabel->setBuddy(m_pFind);
    m_pReplaceLabel = new QLabel(QString::fromUtf8("置換後の文字列(&P):"), this);
    m_pReplace = new QLineEdit(this);
    m_pReplaceLabel->setBuddy(m_pReplace);
    m_pMatchCase = new QCheckBox(QString::fromUtf8("大文字と小文字を区別する(&C)"), this);
    m_pStatus = new QLabel(this);

    m_pFindNext = new QPushButton(QString::fromUtf8("次を検索(&F)"), this);
    m_pFindPrevious = new QPushButton(QString::fromUtf8("前を検索(&B)"), this);
    m_pReplaceOne = new QPushButton(QString::fromUtf8("置換して次に(&R)"), this);
    m_pReplaceAll = new QPushButton(QString::fromUtf8("すべて置換(&A)"), this);
    auto* close = new QPushButton(QString::fromUtf8("閉じる"), this);
    m_pFindNext->setDefault(true);

    layout->addWidget(findLabel, 0, 0);
    layout->addWidget(m_pFind, 0, 1);
    layout->addWidget(m_pReplaceLabel, 1, 0);
    layout->addWidget(m_pReplace, 1, 1);
    layout->addWidget(m_pMatchCase, 2, 0, 1, 2);
    layout->addWidget(m_pStatus, 3, 0, 1, 2);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {m_pFindNext, m_pFindPrevious, m_pReplaceOne, m_pReplaceAll, close})
        buttons->addWidget(button);
    buttons->addStretch();
    layout->addLayout(buttons, 0, 2, 5, 1);
    layout->setColumnMinimumWidth(1, 260);

    connect(m_pFindNext, &QPushButton::clicked, this, [this] { FindNext(false); });
    connect(m_pFindPrevious, &QPushButton::clicked, this, [this] { FindNext(true); });
    connect(m_pReplaceOne, &QPushButton::clicked, this, [this] { ReplaceOne(); });
    connect(m_pReplaceAll, &QPushButton::clicked, this, [this] { ReplaceAll(); });
    connect(close, &QPushButton::clicked, this, &QDialog::hide);
    connect(m_pFind, &QLineEdit::textChanged, this, [this] {
        const bool any = !m_pFind->text().isEmpty();
        for (QPushButton* button : {m_pFindNext, m_pFindPrevious, m_pReplaceOne, m_pReplaceAll})
            button->setEnabled(any);
    });
    setModal(false);
}

void CFindReplaceDlg::Open(bool replace)
{
    setWindowTitle(QString::fromUtf8(replace ? "置換" : "検索"));
    for (QWidget* w : {static_cast<QWidget*>(m_pReplaceLabel), static_cast<QWidget*>(m_pReplace),
                       static_cast<QWidget*>(m_pReplaceOne), static_cast<QWidget*>(m_pReplaceAll)})
        w->setVisible(replace);
    const QString selected = m_editor.textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator)) m_pFind->setText(selected);
    m_pStatus->clear();
    for (QPushButton* button : {m_pFindNext, m_pFindPrevious, m_pReplaceOne, m_pReplaceAll})
        button->setEnabled(!m_pFind->text().isEmpty());
    adjustSize();
    show();
    raise();
    activateWindow();
    m_pFind->setFocus();
    m_pFind->selectAll();
}

void CFindReplaceDlg::SetFindText(const QString& text) { m_pFind->setText(text); }
void CFindReplaceDlg::SetReplaceText(const QString& text) { m_pReplace->setText(text); }
void CFindReplaceDlg::SetMatchCase(bool on) { m_pMatchCase->setChecked(on); }
QString CFindReplaceDlg::GetStatus() const { return m_pStatus->text(); }

bool CFindReplaceDlg::Matches(const QString& selected) const
{
    const Qt::CaseSensitivity cs = m_pMatchCase->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    return !selected.isEmpty() && selected.compare(m_pFind->text(), cs) == 0;
}

bool CFindReplaceDlg::FindNext(bool backward)
{
    const QString text = m_pFind->text();
    if (text.isEmpty()) return false;
    QTextDocument::FindFlags flags;
    if (backward) flags |= QTextDocument::FindBackward;
    if (m_pMatchCase->isChecked()) flags |= QTextDocument::FindCaseSensitively;
    QTextDocument* document = m_editor.document();
    QTextCursor found = document->find(text, m_editor.textCursor(), flags);
    m_pStatus->clear();
    if (found.isNull()) {
        // Round the end to the other end of the text.
        QTextCursor from(document);
        if (backward) from.movePosition(QTextCursor::End);
        found = document->find(text, from, flags);
        if (found.isNull()) {
            m_pStatus->setText(QString::fromUtf8("「%1」が見つかりません。").arg(text));
            return false;
        }
        m_pStatus->setText(QString::fromUtf8(backward ? "末尾から検索しました。" : "先頭から検索しました。"));
    }
    m_editor.setTextCursor(found);
    m_editor.ensureCursorVisible();
    return true;
}

bool CFindReplaceDlg::ReplaceOne()
{
    QTextCursor cursor = m_editor.textCursor();
    if (Matches(cursor.selectedText())) {
        cursor.insertText(m_pReplace->text());
        m_editor.setTextCursor(cursor);
    }
    return FindNext(false);
}

int CFindReplaceDlg::ReplaceAll()
{
    const QString text = m_pFind->text();
    if (text.isEmpty()) return 0;
    QTextDocument::FindFlags flags;
    if (m_pMatchCase->isChecked()) flags |= QTextDocument::FindCaseSensitively;
    QTextDocument* document = m_editor.document();
    QTextCursor edit(document);
    edit.beginEditBlock();
    int count = 0;
    for (QTextCursor found = document->find(text, 0, flags); !found.isNull();
         found = document->find(text, found, flags)) {
        found.insertText(m_pReplace->text());
        ++count;
    }
    edit.endEditBlock();
    m_pStatus->setText(count == 0 ? QString::fromUtf8("「%1」が見つかりません。").arg(text)
                                  : QString::fromUtf8("%1 個の文字列を置換しました。").arg(count));
    return count;
}
