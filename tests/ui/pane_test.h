// The simulator window's panes under test: a started program and the means to reach its panes.
#pragma once
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <gtest/gtest.h>
#include "resources/command_ids.h"
#include "test_shell.h"
#include "views/list_rows.h"
#include "views/register_dlg.h"
#include "views/register_view.h"
#include "views/simulate_view.h"
#include "views/stack_view.h"
#include "views/symbol_view.h"
// Test failures show texts as texts.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

// Rows: 0 comment, 1 START, 2 LAD (0100), 3 CALL (0102), 4 LD (0104), 5 RET (0105),
// 6 PUSH (0106), 7 LAD (0108), 8 POP (010A), 9 RET (010B), 10 DC (010C), 11 END.
inline const QString kCall =
    "; adds one in a subroutine\n"
    "MAIN\tSTART\n"
    "\tLAD\tGR1,3\n"
    "\tCALL\tSUB\n"
    "\tLD\tGR0,GR1\n"
    "\tRET\n"
    "SUB\tPUSH\t0,GR1\n"
    "\tLAD\tGR1,1,GR1\n"
    "\tPOP\tGR2\n"
    "\tRET\n"
    "DATA\tDC\t5\n"
    "\tEND\n";

class PaneTest : public ShellTest {
protected:
    void Load(const QString& source)
    {
        Start();
        SetSource(source);
        Frame()->ExecuteCommand(ID_ASSEMBLE);
        ASSERT_NE(app->GetSimulatorFrame(), nullptr);
        ui.messages.clear();
        Listing()->setFocus();
        QApplication::processEvents();
    }
    template <class T>
    T* Pane(const char* className) const
    {
        return dynamic_cast<T*>(app->GetDocument()->FindViewByClass(className));
    }
    // The focus to a pane, as a click gives it: its window active first (a closed dialog may have left none).
    void Focus(QWidget* pane)
    {
        Frame()->activateWindow();
        pane->setFocus();
        QApplication::processEvents();
    }
    CSimulateView* Listing() const { return Pane<CSimulateView>(kSimulateViewClass); }
    CRegisterView* Registers() const { return Pane<CRegisterView>(kRegisterViewClass); }
    CStackView* Stack() const { return Pane<CStackView>(kStackViewClass); }
    CSymbolView* Symbols() const { return Pane<CSymbolView>(kSymbolViewClass); }
    CRegister& Reg() const { return app->GetDocument()->GetCore().GetRegisters(); }
    // A key as the user presses it: the idle update of the command states has run before.
    void Key(int key, QWidget* to = nullptr)
    {
        Frame()->activateWindow();
        QApplication::processEvents();
        Frame()->UpdateCommandUI();
        QTest::keyClick(to ? to : Listing(), static_cast<Qt::Key>(key));
    }

    // The rows of the listing that carry the PR arrow.
    QList<int> ArrowRows() const
    {
        QList<int> rows;
        for (int row = 0; row < Listing()->GetRows().GetRowCount(); ++row)
            if (Listing()->GetShownItem(row).state & LIST_STATE_OVERLAY_MASK) rows << row;
        return rows;
    }
    QString Text(CListViewEx* pane, int row, int column) const
    {
        return QString::fromStdString(pane->GetShownText(row, column));
    }
    QStringList RegisterRow(int index) const
    {
        QStringList texts;
        for (int column = 0; column < 6; ++column) texts << Text(Registers(), index, column);
        return texts;
    }
    // Runs f on a dialog of type T once it is open (it is modal); gives up after two seconds.
    template <class T>
    void WhenDialogOpens(std::function<void(T&)> f)
    {
        auto* timer = new QTimer(Frame());
        auto tries = std::make_shared<int>(200);
        QObject::connect(timer, &QTimer::timeout, [timer, tries, f] {
            auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
            if (!dialog && --*tries > 0) return;
            timer->deleteLater();
            timer->stop();
            if (dialog) f(*dialog);
        });
        timer->start(10);
    }
    void WhenRegisterDialogOpens(std::function<void(CRegisterDlg&)> f) { WhenDialogOpens<CRegisterDlg>(std::move(f)); }
    void DoubleClickRow(CListViewEx* pane, int row)
    {
        pane->EnsureRowVisible(row);
        const QRect rect = pane->visualRect(pane->GetRows().index(row, 0));
        QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(pane->viewport(), Qt::LeftButton, {}, rect.center());
    }
};
