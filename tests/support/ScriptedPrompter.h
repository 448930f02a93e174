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

    FileChoice chooseFile(const FileRequest& request) override
    {
        fileRequests.append(request);
        return fileAnswers.isEmpty() ? FileChoice() : fileAnswers.takeFirst();
    }

    QList<Prompt> prompts;
    QList<PromptAnswer> answers; // answers to Yes/No questions, in order
    QList<FileRequest> fileRequests;
    QList<FileChoice> fileAnswers; // answers to file dialogs, in order; cancelled when none is left
};

} // namespace xr::test
