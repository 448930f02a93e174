#include "common/MessageBoxPrompter.h"

#include "common/ProgramFileFilter.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include <algorithm>

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
// Qt's own dialog, since a platform dialog ignores the filter model.
void filterPrograms(QFileDialog& dialog, const QString& programsFilter)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto* programs = new ProgramFileFilter(&dialog);
    dialog.setProxyModel(programs);
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, programs,
        [programs, programsFilter](const QString& filter) { programs->setActive(filter == programsFilter); });
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
FileChoice MessageBoxPrompter::chooseFile(const FileRequest& request)
{
    QFileDialog dialog(QApplication::activeWindow(), request.title, request.proposed);
    const bool saving = request.kind == FileDialogKind::Save;
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(request.filters);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setSizeGripEnabled(true);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (saving)
        dialog.selectFile(request.proposed);
    if (request.firstFilterPrograms)
        filterPrograms(dialog, request.filters.value(0));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return {dialog.selectedFiles().constFirst(),
            static_cast<int>(std::max<qsizetype>(0, request.filters.indexOf(dialog.selectedNameFilter())))};
}

} // namespace xr
