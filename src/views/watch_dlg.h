#pragma once
#include <QDialog>
#include <QSpinBox>
#include <string>

class CZelkoraDoc;
class QButtonGroup;
class QLineEdit;
class QPushButton;

// The length field of the watch dialog: any text can be typed (OK checks it), while
// the arrows keep within 1 and the maximum of the chosen format.
class CLengthSpin : public QSpinBox {
    Q_OBJECT
public:
    explicit CLengthSpin(QWidget* parent = nullptr);
    void SetStepRange(int low, int high);
    int GetStepHigh() const { return m_nHigh; }
    // The text as if typed.
    void SetText(const QString& text);
    // The number typed: false when the text is no number at all; a number too large for
    // length is taken as the largest, which is out of every range too.
    bool GetTypedLength(unsigned& length) const;

protected:
    // Qt puts its last value over the text when the focus leaves or Enter is pressed: a
    // text that is no number would become a number and OK would take it. It stays as typed.
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QValidator::State validate(QString& text, int& pos) const override;
    int valueFromText(const QString& text) const override;
    void stepBy(int steps) override;
    StepEnabled stepEnabled() const override;

private:
    int m_nLow = 1;
    int m_nHigh = 8;
};

// The watch dialog: the target (#hex, a label or $register), the number of words and
// the display format. OK takes the entry only when it is a watch.
class CWatchDlg : public QDialog {
    Q_OBJECT
public:
    CWatchDlg(CZelkoraDoc& doc, const QString& caption, QWidget* parent = nullptr);

    void SetValues(const std::string& target, unsigned length, int format);
    const std::string& GetTarget() const { return m_strTarget; }  // code page 932
    unsigned GetLength() const { return m_nLength; }
    int GetFormat() const { return m_nFormat; }

    void accept() override;

    QLineEdit* m_pTarget;
    CLengthSpin* m_pLength;
    QButtonGroup* m_pFormats;
    QPushButton* m_pOk;

private:
    CZelkoraDoc& m_doc;
    std::string m_strTarget;
    unsigned m_nLength = 1;
    int m_nFormat = 0;
};
