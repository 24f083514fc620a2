#include "shell/environment_dlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include "resources/message_ids.h"
#include "resources/string_table.h"
#include "shell/environment.h"
#include "shell/shell_ui.h"

namespace {
QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

// The text-file filter of the settings in the form the file dialogs take.
QString TextFileFilter()
{
    QStringList parts = QString::fromUtf8(LoadString(STR_TEXT_FILE_FILTER).data()).split('|', Qt::SkipEmptyParts);
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) filters << parts[i];
    return filters.join(";;");
}

QButtonGroup* RadioGroup(QWidget* parent, QBoxLayout* layout, std::initializer_list<const char*> labels)
{
    auto* group = new QButtonGroup(parent);
    int id = 0;
    for (const char* label : labels) {
        auto* button = new QRadioButton(Text(label), parent);
        group->addButton(button, id++);
        layout->addWidget(button);
    }
    return group;
}

// A group's value: the checked button's index, or -1 when none is checked.
void SetGroup(QButtonGroup* group, int value)
{
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons()) b->setChecked(false);
    group->setExclusive(true);
    if (QAbstractButton* b = group->button(value)) b->setChecked(true);
}

QHBoxLayout* FileRow(QLineEdit* edit, QPushButton* button)
{
    auto* row = new QHBoxLayout;
    row->addWidget(edit, 1);
    row->addWidget(button);
    button->setFixedWidth(button->fontMetrics().horizontalAdvance("...") + 24);
    return row;
}
// A device group: its two options, then the file name with its "..." button.
QButtonGroup* DeviceGroup(QWidget* parent, QBoxLayout* layout, const char* title,
                          std::initializer_list<const char*> options, QLineEdit*& file, QPushButton*& browse)
{
    auto* box = new QGroupBox(Text(title), parent);
    auto* boxLayout = new QVBoxLayout(box);
    QButtonGroup* group = RadioGroup(box, boxLayout, options);
    file = new QLineEdit(box);
    browse = new QPushButton("...", box);
    boxLayout->addLayout(FileRow(file, browse));
    layout->addWidget(box);
    return group;
}
}  // namespace

CEnvironmentDlg::CEnvironmentDlg(CEnvironment& env, IShellUi& ui, QWidget* parent)
    : QDialog(parent), m_env(env), m_ui(ui)
{
    setWindowTitle(Text("環境設定"));
    auto* layout = new QVBoxLayout(this);

    auto* folderLabel = new QLabel(Text("ﾃﾞﾌｫﾙﾄのｿｰｽﾌｧｲﾙﾌｫﾙﾀﾞ(&F):"), this);
    m_pSourcePath = new QLineEdit(this);
    m_pBrowseFolder = new QPushButton("...", this);
    folderLabel->setBuddy(m_pSourcePath);
    layout->addWidget(folderLabel);
    layout->addLayout(FileRow(m_pSourcePath, m_pBrowseFolder));

    auto* workBox = new QGroupBox(Text("ﾃﾞﾌｫﾙﾄのﾜｰｸﾋﾞｭｰ"), this);
    auto* workLayout = new QVBoxLayout(workBox);
    m_pWorkView = RadioGroup(workBox, workLayout, {"ﾒﾓﾘﾀﾞﾝﾌﾟ表示(&D)", "ﾒﾓﾘｳｫｯﾁ表示(&W)", "出力結果表示(&O)"});
    m_pSaveWatch = new QCheckBox(Text("終了時にｳｫｯﾁ内容を保存する"), workBox);
    m_pSaveWatch->setVisible(false);  // watches are never saved
    workLayout->addWidget(m_pSaveWatch);
    layout->addWidget(workBox);

    m_pInDevice =
        DeviceGroup(this, layout, "入力ﾃﾞﾊﾞｲｽの設定", {"画面よりｷｰ入力", "ﾃｷｽﾄﾌｧｲﾙより入力"}, m_pInFile, m_pBrowseIn);
    m_pOutDevice = DeviceGroup(this, layout, "出力ﾃﾞﾊﾞｲｽの設定", {"画面のみへ出力", "画面とﾃｷｽﾄﾌｧｲﾙへ出力"}, m_pOutFile,
                               m_pBrowseOut);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QDialogButtonBox::Ok)->setDefault(true);
    buttons->addButton(Text("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    // Fill the controls from the settings.
    m_pSourcePath->setText(env.m_strSourcePath);
    SetGroup(m_pWorkView, env.m_nWorkView >= 0 && env.m_nWorkView <= 2 ? env.m_nWorkView : -1);
    SetGroup(m_pInDevice, env.m_nInDeviceType == 0 || env.m_nInDeviceType == 1 ? env.m_nInDeviceType : -1);
    m_pInFile->setText(env.m_strInFileName);
    SetGroup(m_pOutDevice, env.m_nOutDeviceType == 0 || env.m_nOutDeviceType == 1 ? env.m_nOutDeviceType : -1);
    m_pOutFile->setText(env.m_strOutFileName);
    m_pSaveWatch->setChecked(env.m_nSaveWatch != 0);

    connect(m_pInDevice, &QButtonGroup::idToggled, this, &CEnvironmentDlg::UpdateEnableState);
    connect(m_pOutDevice, &QButtonGroup::idToggled, this, &CEnvironmentDlg::UpdateEnableState);
    connect(m_pBrowseFolder, &QPushButton::clicked, this, &CEnvironmentDlg::BrowseFolder);
    connect(m_pBrowseIn, &QPushButton::clicked, this, &CEnvironmentDlg::BrowseInputFile);
    connect(m_pBrowseOut, &QPushButton::clicked, this, &CEnvironmentDlg::BrowseOutputFile);
    UpdateEnableState();
    setMinimumWidth(420);
}

void CEnvironmentDlg::UpdateEnableState()
{
    const bool inFile = m_pInDevice->checkedId() == 1;
    m_pInFile->setEnabled(inFile);
    m_pBrowseIn->setEnabled(inFile);
    const bool outFile = m_pOutDevice->checkedId() == 1;
    m_pOutFile->setEnabled(outFile);
    m_pBrowseOut->setEnabled(outFile);
}

void CEnvironmentDlg::accept()
{
    m_env.m_strSourcePath = m_pSourcePath->text();
    m_env.m_nWorkView = m_pWorkView->checkedId();
    m_env.m_nInDeviceType = m_pInDevice->checkedId();
    m_env.m_strInFileName = m_pInFile->text();
    m_env.m_nOutDeviceType = m_pOutDevice->checkedId();
    m_env.m_strOutFileName = m_pOutFile->text();
    m_env.m_nSaveWatch = m_pSaveWatch->isChecked() ? 1 : 0;
    QDialog::accept();
}

void CEnvironmentDlg::BrowseFolder()
{
    const QString folder = m_ui.GetExistingDirectory(
        this, QString::fromUtf8(LoadString(STR_SOURCE_FOLDER_TITLE).data()), m_pSourcePath->text());
    if (!folder.isEmpty()) m_pSourcePath->setText(folder);
}

void CEnvironmentDlg::BrowseInputFile()
{
    const QString file = m_ui.GetOpenFileName(this, m_pInFile->text(), TextFileFilter());
    if (!file.isEmpty()) m_pInFile->setText(file);
}

void CEnvironmentDlg::BrowseOutputFile()
{
    const QString file = m_ui.GetSaveFileName(this, m_pOutFile->text(), TextFileFilter(), false);
    if (!file.isEmpty()) m_pOutFile->setText(file);
}
