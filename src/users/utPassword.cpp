#include "users/utPassword.h"

#include "common/AppContext.h"
#include "common/NamedControls.h"
#include "common/ScreenCentre.h"
#include "store/AccountStore.h"
#include "store/SqlCommand.h"
#include "users/PasswordChange.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace xr {

TwinPassword::TwinPassword(AppContext& context, SqlCommand& adocommSql, QString userId, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_context(context),
      m_adocommSql(adocommSql), m_userId(std::move(userId))
{
    setObjectName(QStringLiteral("winPassword"));
    setWindowTitle(QStringLiteral("修改密码"));
    buildControls();
    connect(edtFirst, &QLineEdit::returnPressed, edtSecond, [this] { edtSecond->setFocus(); });
    connect(edtSecond, &QLineEdit::returnPressed, this, &TwinPassword::btnOkClick);
    connect(btnOk, &QPushButton::clicked, this, &TwinPassword::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TwinPassword::buildControls()
{
    edtFirst = named(new QLineEdit, "edtFirst");
    edtSecond = named(new QLineEdit, "edtSecond");
    for (QLineEdit* edit : {edtFirst, edtSecond})
        edit->setEchoMode(QLineEdit::Password);
    btnOk = named(new QPushButton(QStringLiteral("确定(&O)")), "btnOk");
    btnCancel = named(new QPushButton(QStringLiteral("取消(&C)")), "btnCancel");
    // Enter in the edits has rules of its own; no button takes it over.
    for (QPushButton* button : {btnOk, btnCancel})
        button->setAutoDefault(false);

    auto* group = new QGroupBox;
    auto* fields = new QGridLayout(group);
    fields->addWidget(labelFor(QStringLiteral("请输入新密码(&F)"), edtFirst), 0, 0);
    fields->addWidget(edtFirst, 0, 1);
    fields->addWidget(labelFor(QStringLiteral("请再次输入密码(&S)"), edtSecond), 1, 0);
    fields->addWidget(edtSecond, 1, 1);
    fields->setColumnMinimumWidth(1, 160);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    fields->addLayout(buttons, 2, 0, 1, 2);

    m_lblNote = named(new QLabel, "lblNote");
    m_lblNote->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lblNote);
    layout->addWidget(group);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TwinPassword::showAsFirstPassword(const QString& userName)
{
    setWindowTitle(QStringLiteral("设置新密码"));
    m_lblNote->setText(QStringLiteral("[%1]首次登录，请设置新密码：").arg(userName));
    m_lblNote->show();
}

void TwinPassword::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    centreOnScreen(*this);
    edtFirst->setFocus();
}

// The refusals keep the typed texts and the dialog; so does a server that is away.
void TwinPassword::btnOkClick()
{
    const AccountStore accounts(m_context.server, m_adocommSql.database());
    if (changePassword(m_context.prompter, accounts, m_userId, edtFirst->text(), edtSecond->text()))
        accept();
}

} // namespace xr
