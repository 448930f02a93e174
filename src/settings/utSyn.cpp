#include "settings/utSyn.h"

#include "common/Prompter.h"
#include "common/ScreenCentre.h"
#include "settings/CompanionList.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>

#include <stdexcept>

namespace xr {

namespace {

constexpr int kWidth = 593;
constexpr int kHeight = 337;

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption, int top)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(kWidth - 108, top, 96, 25);
    return button;
}

// Programs and desktop entries (the Linux counterparts of "*.EXE"), then every file.
QStringList addFilters()
{
    return {QStringLiteral("程序和桌面启动项 (*)"), QStringLiteral("所有文件 (*)")};
}

QString unlistableMessage(const QString& entry)
{
    return QStringLiteral(
               "无法添加 [%1]：\r\r路径中含有GBK编码无法表示的字符，同时启动程序列表无法保存这样的路径。"
               "\r请将文件放到路径中不含这些字符的位置后再添加。")
        .arg(entry);
}

QString retryWriteQuestion(const std::runtime_error& error)
{
    return QString::fromStdString(error.what()) +
           QStringLiteral("\r\r是否重试？选择“否”将关闭窗口，本次所做的修改不会保存。");
}

} // namespace

TwinSyn::TwinSyn(const QString& appPath, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_listFile(companionListPath(appPath)), m_prompter(prompter)
{
    setObjectName(QStringLiteral("winSyn"));
    setWindowTitle(QStringLiteral("XR同时启动"));
    setFixedSize(kWidth, kHeight);
    auto* label = new QLabel(QStringLiteral("登录XR后同时启动的其它程序列表(&L)"), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(12, 8, 400, 22);
    m_lbList = new QListWidget(this);
    m_lbList->setObjectName(QStringLiteral("lbList"));
    m_lbList->setGeometry(12, 32, kWidth - 132, kHeight - 44);
    label->setBuddy(m_lbList);
    QPushButton* btnAdd = makeButton(this, QStringLiteral("btnAdd"), QStringLiteral("添加(&A)..."), 32);
    QPushButton* btnDel = makeButton(this, QStringLiteral("btnDel"), QStringLiteral("删除(&D)"), 66);
    QPushButton* btnClose =
        makeButton(this, QStringLiteral("btnClose"), QStringLiteral("关闭(&C)"), kHeight - 37);
    connect(btnAdd, &QPushButton::clicked, this, &TwinSyn::btnAddClick);
    connect(btnDel, &QPushButton::clicked, this, &TwinSyn::btnDelClick);
    connect(btnClose, &QPushButton::clicked, this, &TwinSyn::accept);
}

void TwinSyn::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        centreOnScreen(*this);
        FormShow();
    }
    QDialog::showEvent(event);
}

void TwinSyn::FormShow()
{
    m_listRead = false;
    m_lbList->clear();
    m_lbList->addItems(readCompanionList(m_listFile).value_or(QStringList()));
    m_listRead = true;
}

void TwinSyn::btnAddClick()
{
    const bool programsFirst = true;
    const FileChoice choice =
        m_prompter.chooseFile({FileDialogKind::Open, {}, addFilters(), {}, programsFirst});
    if (choice.fileName.isEmpty())
        return;
    const QString entry = QDir::toNativeSeparators(choice.fileName);
    if (!companionListHolds(entry)) {
        m_prompter.warn(unlistableMessage(entry));
        return;
    }
    m_lbList->addItem(entry);
}

void TwinSyn::btnDelClick()
{
    const int row = m_lbList->currentRow();
    if (row >= 0 && m_lbList->currentItem()->isSelected())
        delete m_lbList->takeItem(row);
}

// Every way of closing (the close button, the caption's close box, Escape) ends here.
void TwinSyn::done(int result)
{
    FormClose();
    QDialog::done(result);
}

// A list file that could not be read is not replaced by the empty list shown instead. One that
// cannot be written is tried again as long as the user asks for it; the dialog closes anyway.
void TwinSyn::FormClose()
{
    if (!m_listRead)
        return;
    QStringList entries;
    for (int row = 0; row < m_lbList->count(); ++row)
        entries << m_lbList->item(row)->text();
    for (;;) {
        try {
            writeCompanionList(m_listFile, entries);
            return;
        } catch (const std::runtime_error& error) {
            if (m_prompter.ask(PromptKind::Warning, retryWriteQuestion(error), PromptButtons::YesNo) !=
                PromptAnswer::Yes)
                return;
        }
    }
}

} // namespace xr
