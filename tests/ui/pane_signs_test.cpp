// What the windows show besides the values: bytes that are no characters, which pane
// has the keyboard focus, the order of the labels, and a close box that cannot close.
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <gtest/gtest.h>
#include "pane_test.h"
#include "text/source_text.h"

namespace {
QString Shown(std::string_view bytes)
{
    const std::u16string text = DecodeSource(bytes, TextEncoding::Cp932).text;
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}
}  // namespace

// The editor holds a byte that is no character as its kept byte; the listing and the
// output pane show the same character for it (drawn by the same font), never U+FFFD.
TEST_F(PaneTest, BytesThatAreNoCharactersShowAlikeInEveryPane)
{
    const std::string comment = "; bad \xFF byte \x81 here";
    const std::string input = "X\xFFY\x81";
    OpenSettings()->setValue("Env/InDeviceType", 1);
    OpenSettings()->setValue("Env/InFileName", WriteFile("in.txt", input + "\r\n"));
    OpenSettings()->setValue("Env/WorkView", 2);
    Start({WriteFile("bad.asm", comment + "\r\nP\tSTART\r\n\tIN\tBUF,LEN\r\n\tRET\r\nBUF\tDS\t80\r\n"
                                          "LEN\tDS\t1\r\n\tEND\r\n")});
    EXPECT_EQ(Editor()->document()->firstBlock().text(), Shown(comment));
    Frame()->ExecuteCommand(ID_ASSEMBLE);
    ASSERT_NE(app->GetSimulatorFrame(), nullptr);
    EXPECT_EQ(Listing()->model()->index(0, 1).data().toString(), Shown(comment));
    Frame()->ExecuteCommand(ID_RUN_GO);
    auto* output = qobject_cast<QPlainTextEdit*>(app->GetSimulatorFrame()->GetWorkView());
    ASSERT_NE(output, nullptr);
    EXPECT_TRUE(output->toPlainText().split('\n').contains("INPUT  : " + Shown(input)));
    EXPECT_FALSE(output->toPlainText().contains(QChar(0xFFFD)));
}
