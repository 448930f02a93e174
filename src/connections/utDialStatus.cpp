#include "connections/utDialStatus.h"

#include "common/NamedControls.h"
#include "connections/DialStatusLayout.h"
#include "connections/Dialer.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

namespace xr {

namespace {

// Geometry of the window as designed; the layout changes only the buttons and the height.
constexpr QSize kClientSize(393, 169);
constexpr QRect kDialStatusRect(24, 16, 345, 16);
constexpr QRect kConnNameRect(24, 40, 345, 12);
constexpr QRect kErrorRect(24, 64, 345, 57);
constexpr QSize kButtonSize(75, 25);
constexpr int kFontPixels = 12;

} // namespace

TwinDialStatus::TwinDialStatus(Dialer& dialer, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      m_dialer(dialer)
{
    setObjectName(QStringLiteral("winDialStatus"));
    setWindowTitle(QStringLiteral("XR拨号状态"));
    QFont font = this->font();
    font.setPixelSize(kFontPixels);
    setFont(font);
    setFixedSize(kClientSize);
    buildControls();
    connect(btnCancel, &QPushButton::clicked, this, &TwinDialStatus::btnCancelClick);
    connect(btnReDial, &QPushButton::clicked, this, &TwinDialStatus::btnReDialClick);
    connect(&m_dialer, &Dialer::dialling, this, &TwinDialStatus::showDialling);
    connect(&m_dialer, &Dialer::dialFailed, this, &TwinDialStatus::showDialError);
}

void TwinDialStatus::buildControls()
{
    lblDialStatus = named(new QLabel(this), "lblDialStatus");
    lblDialStatus->setGeometry(kDialStatusRect);
    lblConnName = named(new QLabel(this), "lblConnName");
    lblConnName->setGeometry(kConnNameRect);
    memError = named(new QPlainTextEdit(this), "memError");
    memError->setGeometry(kErrorRect);
    memError->setReadOnly(true);
    memError->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette palette = memError->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    palette.setColor(QPalette::Text, Qt::blue);
    memError->setPalette(palette);
    btnReDial = named(new QPushButton(QStringLiteral("重拨(&R)"), this), "btnReDial");
    btnReDial->resize(kButtonSize);
    btnReDial->setDefault(true);
    btnCancel = named(new QPushButton(QStringLiteral("取消(&C)"), this), "btnCancel");
    btnCancel->resize(kButtonSize);
}

void TwinDialStatus::showDialling(const QString& entryName)
{
    lblDialStatus->setText(QStringLiteral("[XarvaneXarvane]正在拨号..."));
    // A name too long for the label is elided; its tip shows it whole.
    const QString name = QStringLiteral("连接名称：") + entryName;
    const QString shown = lblConnName->fontMetrics().elidedText(name, Qt::ElideRight, lblConnName->width());
    lblConnName->setText(shown);
    lblConnName->setToolTip(shown == name ? QString() : name);
    m_ShowMode = kDialling;
    showAfresh();
}

// The entry name of the dial stays as it was.
void TwinDialStatus::showDialError(const QString& errorText, std::uint32_t code)
{
    lblDialStatus->setText(QStringLiteral("[XarvaneXarvane]拨号发生错误！"));
    m_ShowMode = kDialError;
    showAfresh();
    memError->clear();
    memError->appendPlainText(QStringLiteral("错误信息：") + errorText);
    memError->appendPlainText(QStringLiteral("错误码：") + QString::number(code));
}

void TwinDialStatus::showAfresh()
{
    hide();
    show();
}

void TwinDialStatus::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TwinDialStatus::FormShow()
{
    const QScreen* screen = this->screen();
    const DialStatusGeometry geometry{screen ? screen->geometry().size() : QSize(),
                                      frameGeometry().size(),
                                      size(),
                                      lblConnName->geometry().bottom() + 1,
                                      memError->geometry().bottom() + 1,
                                      btnCancel->size()};
    const DialStatusPlacement placement = placeDialStatus(m_ShowMode, geometry);
    if (screen)
        move(placement.window);
    const bool error = m_ShowMode == kDialError;
    memError->setVisible(error);
    btnReDial->setVisible(error);
    btnCancel->move(placement.cancel);
    btnReDial->move(placement.reDial);
    setFixedSize(width(), placement.clientHeight);
    (error ? btnReDial : btnCancel)->setFocus();
}

void TwinDialStatus::btnCancelClick()
{
    m_dialer.HangUpDial();
    close();
}

void TwinDialStatus::btnReDialClick()
{
    m_dialer.DialDefaultConn();
}

void TwinDialStatus::closeEvent(QCloseEvent* event)
{
    event->setAccepted(!event->spontaneous());
}

} // namespace xr
