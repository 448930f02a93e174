#include "connections/utConnSetting.h"

#include "common/AppContext.h"
#include "common/NamedControls.h"
#include "common/ViewWidthDelegate.h"
#include "connections/DialStatusLayout.h"
#include "connections/Dialer.h"
#include "connections/RASNotify.h"
#include "settings/SettingsStore.h"
#include "store/ConnectionDetails.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace xr {

TwinConnSetting::TwinConnSetting(AppContext& context, const TRASNotify& notify, Dialer& dialer,
                                 QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_context(context), m_notify(notify),
      m_dialer(dialer)
{
    setObjectName(QStringLiteral("winConnSetting"));
    setWindowTitle(QStringLiteral("XR连接设置"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    connect(btnDefault, &QPushButton::clicked, this, &TwinConnSetting::btnDefaultClick);
    connect(lbConnList, &QListWidget::itemDoubleClicked, this, &TwinConnSetting::btnDefaultClick);
    connect(btnConn, &QPushButton::clicked, this, &TwinConnSetting::btnConnClick);
    connect(btnOk, &QPushButton::clicked, this, &TwinConnSetting::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    // FormCreate: the list, then the default as it stands (maybe "未指定", which is no entry).
    FillConnList();
    edtDefault->setText(m_context.settings.DefaultConn);
    selectDefaultEntry();
}

void TwinConnSetting::buildControls()
{
    lbConnList = named(new QListWidget, "lbConnList");
    lbConnList->setItemDelegate(new ViewWidthDelegate(lbConnList));
    lblLanHint = named(new QLabel(kLanLeftOutHint), "lblLanHint");
    lblLanHint->setWordWrap(true);
    lblLanHint->hide();
    edtDefault = named(new QLineEdit, "edtDefault");
    edtDefault->setReadOnly(true);
    btnDefault = named(new QPushButton(QStringLiteral("设为默认")), "btnDefault");
    btnConn = named(new QPushButton(QStringLiteral("拨号(&D)")), "btnConn");
    btnOk = named(new QPushButton(QStringLiteral("确定(&O)")), "btnOk");
    btnOk->setDefault(true);
    btnCancel = named(new QPushButton(QStringLiteral("取消(&C)")), "btnCancel");

    auto* grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    grid->addWidget(labelFor(QStringLiteral("连接列表(&L)"), lbConnList), 0, 0);
    grid->addWidget(lbConnList, 1, 0, 3, 1);
    auto* side = new QVBoxLayout;
    side->addWidget(btnDefault);
    side->addWidget(btnConn);
    side->addStretch();
    grid->addLayout(side, 1, 1);
    grid->addWidget(lblLanHint, 4, 0, 1, 2);
    grid->addWidget(labelFor(QStringLiteral("XR默认连接(&D)"), edtDefault), 5, 0);
    grid->addWidget(edtDefault, 6, 0);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    grid->addLayout(buttons, 7, 0, 1, 2);
}

bool TwinConnSetting::FillConnList()
{
    lbConnList->clear();
    const std::optional<QStringList> entries = PhonebookEntries(m_context.remoteAccess);
    if (!entries) {
        m_context.prompter.say(kPhonebookUnreadableMessage);
        return false;
    }
    lbConnList->addItems(*entries);
    // A name too long for the list is elided there; its tip shows it whole.
    for (int row = 0; row < lbConnList->count(); ++row)
        lbConnList->item(row)->setToolTip(lbConnList->item(row)->text());
    lblLanHint->setVisible(entries->isEmpty() && m_context.remoteAccess.uncountedLanEntries() > 0);
    return true;
}

// The default connection, or the first entry when it is not listed, is selected for real, so
// that "设为默认" and "拨号(&D)" act on the entry that looks chosen.
void TwinConnSetting::selectDefaultEntry()
{
    if (lbConnList->count() == 0)
        return;
    const QList<QListWidgetItem*> matches =
        lbConnList->findItems(m_context.settings.DefaultConn, Qt::MatchExactly);
    lbConnList->setCurrentItem(matches.isEmpty() ? lbConnList->item(0) : matches.first());
}

QString TwinConnSetting::selectedEntry()
{
    const QListWidgetItem* item = lbConnList->currentItem();
    if (!item || !item->isSelected()) {
        m_context.prompter.inform(kChooseEntryMessage);
        return {};
    }
    return item->text();
}

void TwinConnSetting::btnDefaultClick()
{
    if (const QString entry = selectedEntry(); !entry.isEmpty())
        edtDefault->setText(entry);
}

// Saved even when unchanged; without the settings key it lasts for this run only.
void TwinConnSetting::btnOkClick()
{
    m_context.settings.DefaultConn = edtDefault->text();
    writeSettings(m_context.registry, m_context.settings, {&TSettings::DefaultConn});
    accept();
}

// The entry is dialled whether or not it is the default; the dialog stays open.
void TwinConnSetting::btnConnClick()
{
    if (m_notify.IsConnected()) {
        m_context.prompter.warn(kAlreadyConnectedMessage);
        return;
    }
    if (const QString entry = selectedEntry(); !entry.isEmpty())
        m_dialer.DialEntry(entry);
}

void TwinConnSetting::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* screen = this->screen())
        move(centredOn(screen->geometry().size(), frameGeometry().size()));
}

} // namespace xr
