#include "common/MessageBoxPrompter.h"

#include <QApplication>
#include <QFileDialog>
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

// Resizable, without a read-only box; the open dialog takes only an existing file, the save
// dialog asks before replacing one.
QString MessageBoxPrompter::chooseFile(const FileDialogRequest& request)
{
    const bool save = request.kind == FileDialogKind::Save;
    QFileDialog dialog(nullptr, request.title, request.proposedFile, request.filter);
    dialog.setObjectName(save ? QStringLiteral("sdlgBackup") : QStringLiteral("odlgComeback"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setSizeGripEnabled(true);
    if (save)
        dialog.selectFile(request.proposedFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

} // namespace xr
