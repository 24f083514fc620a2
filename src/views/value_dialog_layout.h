#pragma once

class QDialog;
class QLayout;
class QPushButton;

// The shape the value dialogs share: their fields on the left; on the right OK (the
// default), ｷｬﾝｾﾙ and a plain text that tells the value syntax. Returns OK; cancel
// gives the second button.
QPushButton* LayOutValueDialog(QDialog& dialog, QLayout* fields, const char* syntaxHelp,
                               QPushButton** cancel = nullptr);
