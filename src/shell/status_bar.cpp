#include "shell/status_bar.h"

#include <QLabel>
#include <QProgressBar>
#include "resources/command_ids.h"
#include "resources/message_ids.h"
#include "resources/string_table.h"

QString FormatCaretPane(int line, int column)
{
    return QString::asprintf("%3d", line) + QString::fromUtf8("行 / ") + QString::asprintf("%3d", column) +
           QString::fromUtf8("列");
}

CZelkoraStatusBar::CZelkoraStatusBar(QWidget* parent)
    : QStatusBar(parent), m_pProgress(new QProgressBar(this)), m_pCaret(new QLabel(this)), m_pFormat(new QLabel(this))
{
    const QFontMetrics metrics(font());
    m_pProgress->setObjectName("progress101");
    m_pProgress->setRange(0, 1000);
    m_pProgress->setValue(0);
    m_pProgress->setTextVisible(false);
    m_pProgress->setFixedWidth(metrics.horizontalAdvance(QString(40, ' ')) + 8);
    m_pProgress->setMaximumHeight(metrics.height() + 2);
    m_pCaret->setObjectName("pane32794");
    m_pCaret->setAlignment(Qt::AlignCenter);
    m_pCaret->setMinimumWidth(metrics.horizontalAdvance(QString::fromUtf8(LoadString(ID_INDICATOR_CARET).data())) + 12);
    m_pFormat->setObjectName("pane32815");
    m_pFormat->setAlignment(Qt::AlignCenter);
    m_pFormat->setMinimumWidth(metrics.horizontalAdvance(QString::fromUtf8(LoadString(ID_INDICATOR_FORMAT).data())) +
                               12);
    // Shown whenever no command prompt is: the idle text.
    auto* idle = new QLabel(QString::fromUtf8(LoadString(IDS_IDLE_MESSAGE).data()), this);
    idle->setObjectName("idleMessage");
    addWidget(idle, 1);
    addPermanentWidget(m_pProgress);
    addPermanentWidget(m_pCaret);
    addPermanentWidget(m_pFormat);
}

void CZelkoraStatusBar::SetFormatPane(const QString& text)
{
    if (m_pFormat->text() != text) m_pFormat->setText(text);
}

void CZelkoraStatusBar::SetCaretPane(bool enabled, const QString& text)
{
    m_pCaret->setEnabled(enabled);
    const QString shown = enabled ? text : QString();
    if (m_pCaret->text() != shown) m_pCaret->setText(shown);
}
