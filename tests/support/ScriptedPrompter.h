#pragma once
// Records every message box and answers from a script (OK boxes need no script; an unscripted
// Yes/No question is answered No).

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

    QList<Prompt> prompts;
    QList<PromptAnswer> answers; // answers to Yes/No questions, in order
};

} // namespace xr::test
