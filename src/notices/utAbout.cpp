#include "notices/utAbout.h"

#include "notices/HelpCommands.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace xr {

namespace {

constexpr int kOpaque = 255;

QLabel* addLabel(QWidget* parent, const QString& name, const QString& text, const QRect& bounds)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(bounds);
    return label;
}

// Which connections the program sees: a person who finds nothing recorded looks here first.
QString dialServiceText(const std::string& name)
{
    const QString shown =
        name == "simulated" ? QStringLiteral("模拟拨号服务（不是真实的连接）") : QString::fromStdString(name);
    return QStringLiteral("拨号服务：") + shown;
}

} // namespace

TwinAbout::TwinAbout(platform::DesktopShell& shell, Prompter& prompter, const QString& supportMail,
                     const std::string& dialService, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_shell(shell), m_prompter(prompter),
      m_supportMail(supportMail)
{
    setObjectName(QStringLiteral("winAbout"));
    setWindowTitle(QStringLiteral("关于XR"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(303, 203);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    QLabel* imgAbout = addLabel(this, QStringLiteral("imgAbout"), {}, QRect(24, 16, 32, 32));
    imgAbout->setPixmap(QIcon(QStringLiteral(":/xarvane.svg")).pixmap(32, 32));
    QLabel* lbl1 =
        addLabel(this, QStringLiteral("lbl1"), QStringLiteral("* * * Xarvane * * *"), QRect(64, 16, 215, 32));
    lbl1->setAlignment(Qt::AlignCenter);
    auto* bvlLine = new QFrame(this);
    bvlLine->setObjectName(QStringLiteral("bvlLine"));
    bvlLine->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    bvlLine->setGeometry(16, 60, 271, 2);
    addLabel(this, QStringLiteral("Label5"), QStringLiteral("E_Mail:"), QRect(24, 78, 56, 16));
    m_lblmail =
        addLabel(this, QStringLiteral("lblmail"),
                 supportMail.isEmpty() ? QStringLiteral("(未设置)") : supportMail, QRect(80, 78, 200, 16));
    // Without an address the label is no link; a click still says that none is configured.
    if (!supportMail.isEmpty()) {
        m_lblmail->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline;"));
        m_lblmail->setCursor(Qt::PointingHandCursor);
    }
    m_lblmail->installEventFilter(this);
    addLabel(this, QStringLiteral("lblService"), dialServiceText(dialService), QRect(24, 102, 255, 16));
    m_lblInfo = addLabel(this, QStringLiteral("lblInfo"), {}, QRect(24, 122, 255, 28));
    m_lblInfo->setWordWrap(true);
    m_btnOk = new QPushButton(QStringLiteral("确定"), this);
    m_btnOk->setObjectName(QStringLiteral("btnOk"));
    m_btnOk->setGeometry(114, 162, 75, 25);
    m_btnOk->setDefault(true);
    connect(m_btnOk, &QPushButton::clicked, this, &TwinAbout::close);
    FormCreate();
}

void TwinAbout::FormCreate()
{
    setWindowOpacity(1.0);
    m_lblInfo->setText(QString());
}

// Hovering makes the mail link bold; a click writes a mail (or says why it cannot).
bool TwinAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_lblmail) {
        if (event->type() == QEvent::Enter)
            setMailBold(true);
        else if (event->type() == QEvent::Leave)
            setMailBold(false);
        else if (event->type() == QEvent::MouseButtonRelease)
            openSupportMail(m_shell, m_prompter, m_supportMail);
    }
    return QDialog::eventFilter(watched, event);
}

void TwinAbout::setMailBold(bool bold)
{
    QFont font = m_lblmail->font();
    font.setBold(bold);
    m_lblmail->setFont(font);
}

void TwinAbout::closeEvent(QCloseEvent* event)
{
    fadeOut();
    QDialog::closeEvent(event);
}

// 256 opacity steps, one after the other without pause.
void TwinAbout::fadeOut()
{
    for (int opacity = kOpaque; opacity >= 0; --opacity)
        setWindowOpacity(double(opacity) / kOpaque);
}

} // namespace xr
