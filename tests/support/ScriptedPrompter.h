#pragma once
// Records every message box and file dialog and answers from a script (OK boxes need no script;
// an unscripted Yes/No question is answered No, an unscripted file dialog is cancelled).

#include "common/Prompter.h"

#include <QList>

namespace xr::test {

struct Prompt {
    PromptKind kind;
    QString text;
    PromptButtons buttons;
};

class ScriptedPrompter final : public Prompter {
public:
    PromptAnswer ask(PromptKind kind, const QString& text, PromptButtons buttons) override
    {
        prompts.append({kind, text, buttons});
        if (buttons == PromptButtons::Ok)
            return PromptAnswer::Ok;
        return answers.isEmpty() ? PromptAnswer::No : answers.takeFirst();
    }

    QString chooseFile(const FileDialogRequest& request) override
    {
        fileDialogs.append(request);
        return files.isEmpty() ? QString() : files.takeFirst();
    }

    QList<Prompt> prompts;
    QList<PromptAnswer> answers; // answers to Yes/No questions, in order
    QList<FileDialogRequest> fileDialogs;
    QList<QString> files; // files chosen in the file dialogs, in order; none left: cancelled
};

} // namespace xr::test
