#pragma once
// Records every message box and file dialog and answers from a script (OK boxes need no script;
// an unscripted Yes/No question is answered No, an unscripted file dialog is cancelled). What
// happens while a box or dialog shows can be scripted too.

#include "common/Prompter.h"

#include <QHash>
#include <QList>

#include <functional>

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
        runMeanwhile(text);
        if (buttons == PromptButtons::Ok)
            return PromptAnswer::Ok;
        return answers.isEmpty() ? PromptAnswer::No : answers.takeFirst();
    }

    FileChoice chooseFile(const FileRequest& request) override
    {
        fileRequests.append(request);
        runMeanwhile(request.title);
        return fileAnswers.isEmpty() ? FileChoice() : fileAnswers.takeFirst();
    }

    QList<Prompt> prompts;
    QList<PromptAnswer> answers; // answers to Yes/No questions, in order
    QList<FileRequest> fileRequests;
    QList<FileChoice> fileAnswers; // answers to file dialogs, in order; cancelled when none is left
    // Keyed by a box's text or a dialog's title: runs once, while that box or dialog shows.
    QHash<QString, std::function<void()>> meanwhile;

private:
    void runMeanwhile(const QString& shown)
    {
        if (const std::function<void()> step = meanwhile.take(shown))
            step();
    }
};

} // namespace xr::test
