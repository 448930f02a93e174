#include "users/utSelUser.h"

#include "common/AppContext.h"
#include "common/NamedControls.h"
#include "common/ScreenCentre.h"
#include "store/AccountStore.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace xr {

TwinSelUser::TwinSelUser(AppContext& context, const Database& adoConnMain, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_context(context),
      m_users(AccountStore(context.server, adoConnMain).read(assignableUsers))
{
    setObjectName(QStringLiteral("winSelUser"));
    setWindowTitle(QStringLiteral("指定有效用户"));
    buildControls();
    lbUser->addItems(m_users.names);
    connect(btnOk, &QPushButton::clicked, this, &TwinSelUser::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &TwinSelUser::btnCancelClick);
    connect(lbUser, &QListWidget::itemDoubleClicked, this, &TwinSelUser::btnOkClick);
}

void TwinSelUser::buildControls()
{
    lbUser = named(new QListWidget, "lbUser");
    lbUser->setFixedSize(200, 180);
    btnOk = named(new QPushButton(QStringLiteral("确定(&O)")), "btnOk");
    btnOk->setDefault(true);
    btnCancel = named(new QPushButton(QStringLiteral("取消(&C)")), "btnCancel");
    btnCancel->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(labelFor(QStringLiteral("用户列表(&L)"), lbUser));
    layout->addWidget(lbUser);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TwinSelUser::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    centreOnScreen(*this);
}

// The first account with exactly the chosen name.
void TwinSelUser::btnOkClick()
{
    const QListWidgetItem* item = lbUser->currentItem();
    if (!item || !item->isSelected()) {
        m_context.prompter.inform(QStringLiteral("请选择一个用户的！"));
        return;
    }
    m_selUserName = item->text();
    m_selUserId = m_users.ids.value(m_users.names.indexOf(m_selUserName));
    accept();
}

void TwinSelUser::btnCancelClick()
{
    m_selUserId.clear();
    reject();
}

} // namespace xr
