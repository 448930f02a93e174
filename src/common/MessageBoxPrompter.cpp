#include "common/MessageBoxPrompter.h"

#include <QApplication>
#include <QMessageBox>

namespace xr {

namespace {
QMessageBox::Icon iconOf(PromptKind kind)
{
    switch (kind) {
    case PromptKind::Information:
        return QMessageBox::Information;
    case PromptKind::Warning:
        return QMessageBox::Warning;
    case PromptKind::Error:
        return QMessageBox::Critical;
    case PromptKind::Confirmation:
        return QMessageBox::Question;
    case PromptKind::Plain:
        return QMessageBox::NoIcon;
    }
    return QMessageBox::NoIcon;
}
} // namespace

PromptAnswer MessageBoxPrompter::ask(PromptKind kind, const QString& text, PromptButtons buttons)
{
    const bool yesNo = buttons == PromptButtons::YesNo;
    // A carriage return stands for a line break in the program's texts.
    QString shown = text;
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(iconOf(kind), QApplication::applicationDisplayName(), shown,
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    const int answer = box.exec();
    if (!yesNo)
        return PromptAnswer::Ok;
    return answer == QMessageBox::Yes ? PromptAnswer::Yes : PromptAnswer::No;
}

} // namespace xr
