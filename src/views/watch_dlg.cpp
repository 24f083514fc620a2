#include "views/watch_dlg.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <limits>
#include "resources/message_ids.h"
#include "resources/string_table.h"
#include "simulator/watch.h"
#include "simulator/zelkora_doc.h"
#include "text/codepage.h"
#include "views/value_dialog_layout.h"

namespace {
const char* const kFormatCaptions[WATCH_FORMAT_COUNT] = {"16進数(&X)", "符号付10進数(&S)", "符号無10進数(&U)",
                                                         "2進数(&B)", "文字(&C)"};
}  // namespace

CLengthSpin::CLengthSpin(QWidget* parent) : QSpinBox(parent)
{
    setRange(0, 999999);
    setAlignment(Qt::AlignRight);
    setGroupSeparatorShown(false);
}

void CLengthSpin::SetText(const QString& text) { lineEdit()->setText(text); }

bool CLengthSpin::GetTypedLength(unsigned& length) const
{
    const QString text = cleanText().trimmed();
    bool number = false;
    length = text.toUInt(&number);
    if (number || text.isEmpty()) return number;
    for (QChar c : text)
        if (c < u'0' || c > u'9') return false;
    length = std::numeric_limits<unsigned>::max();
    return true;
}

void CLengthSpin::focusOutEvent(QFocusEvent* event)
{
    const QString typed = lineEdit()->text();
    QSpinBox::focusOutEvent(event);
    if (lineEdit()->text() != typed) lineEdit()->setText(typed);
}

void CLengthSpin::keyPressEvent(QKeyEvent* event)
{
    const QString typed = lineEdit()->text();
    QSpinBox::keyPressEvent(event);
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && lineEdit()->text() != typed) {
        lineEdit()->setText(typed);
        selectAll();
    }
}

void CLengthSpin::SetStepRange(int low, int high)
{
    m_nLow = low;
    m_nHigh = high;
}

QValidator::State CLengthSpin::validate(QString&, int&) const { return QValidator::Acceptable; }

int CLengthSpin::valueFromText(const QString& text) const
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? v : value();
}

void CLengthSpin::stepBy(int steps)
{
    bool ok = false;
    const int now = cleanText().trimmed().toInt(&ok);
    setValue(std::clamp((ok ? now : m_nLow) + steps, m_nLow, m_nHigh));
    selectAll();
}

QAbstractSpinBox::StepEnabled CLengthSpin::stepEnabled() const
{
    bool ok = false;
    const int now = cleanText().trimmed().toInt(&ok);
    StepEnabled enabled = StepNone;
    if (!ok || now < m_nHigh) enabled |= StepUpEnabled;
    if (!ok || now > m_nLow) enabled |= StepDownEnabled;
    return enabled;
}

CWatchDlg::CWatchDlg(CZelkoraDoc& doc, const QString& caption, QWidget* parent) : QDialog(parent), m_doc(doc)
{
    setWindowTitle(caption);
    m_pTarget = new QLineEdit;
    m_pLength = new CLengthSpin;
    auto* targetLabel = new QLabel(QString::fromUtf8("ｳｫｯﾁ対象(&W):"));
    targetLabel->setBuddy(m_pTarget);
    auto* lengthLabel = new QLabel(QString::fromUtf8("長さ(&L):"));
    lengthLabel->setBuddy(m_pLength);

    auto* group = new QGroupBox(QString::fromUtf8("表示形式"));
    auto* radios = new QVBoxLayout(group);
    m_pFormats = new QButtonGroup(this);
    for (int i = 0; i < WATCH_FORMAT_COUNT; ++i) {
        auto* radio = new QRadioButton(QString::fromUtf8(kFormatCaptions[i]));
        m_pFormats->addButton(radio, i);
        radios->addWidget(radio);
    }
    connect(m_pFormats, &QButtonGroup::idClicked, this,
            [this](int format) { m_pLength->SetStepRange(1, static_cast<int>(WatchMaxLength(format))); });

    auto* fields = new QGridLayout;
    fields->addWidget(targetLabel, 0, 0);
    fields->addWidget(m_pTarget, 0, 1);
    fields->addWidget(lengthLabel, 1, 0);
    fields->addWidget(m_pLength, 1, 1, Qt::AlignLeft);
    fields->addWidget(group, 2, 0, 1, 2);
    m_pOk = LayOutValueDialog(*this, fields, "#<16進数>\n$<ﾚｼﾞｽﾀ>\n<ﾗﾍﾞﾙ>");
    // OK only while the target holds something after its leading blanks.
    connect(m_pTarget, &QLineEdit::textChanged, this, [this](const QString& text) {
        qsizetype i = 0;
        while (i < text.size() && text[i].isSpace()) ++i;
        m_pOk->setEnabled(i < text.size());
    });
    m_pTarget->setMinimumWidth(m_pTarget->fontMetrics().horizontalAdvance('0') * 20);
    SetValues(std::string(), 1, 0);
}

void CWatchDlg::SetValues(const std::string& target, unsigned length, int format)
{
    m_strTarget = target;
    m_nLength = length;
    m_nFormat = format >= 0 && format < WATCH_FORMAT_COUNT ? format : 0;
    m_pTarget->setText(QString::fromStdString(Cp932ToUtf8(target)));
    m_pOk->setEnabled(!m_pTarget->text().trimmed().isEmpty());
    m_pLength->setValue(static_cast<int>(length));
    m_pFormats->button(m_nFormat)->setChecked(true);
    m_pLength->SetStepRange(1, static_cast<int>(WatchMaxLength(m_nFormat)));
    m_pTarget->setFocus();
}

void CWatchDlg::accept()
{
    unsigned length = 0;
    if (!m_pLength->GetTypedLength(length)) {
        m_doc.ShowMessage(MSG_NOT_A_POSITIVE_INTEGER);
        m_pLength->setFocus();
        m_pLength->selectAll();
        return;
    }
    bool encodable = true;
    const std::string target = Utf8ToCp932(m_pTarget->text().toStdString(), &encodable);
    const int format = std::max(0, m_pFormats->checkedId());
    // A target with characters that code page 932 cannot hold names nothing.
    const int message =
        encodable ? ValidateWatch(target, length, format, &m_doc.GetAssembler().GetLabels()) : MSG_WATCH_TARGET;
    if (message == MSG_WATCH_LENGTH) {
        m_doc.ShowMessage(message, FormatMessage(message, WatchLengthRangeText()));
        return;
    }
    if (message != 0) {
        m_doc.ShowMessage(message);
        return;
    }
    m_strTarget = target;
    m_nLength = length;
    m_nFormat = format;
    QDialog::accept();
}
