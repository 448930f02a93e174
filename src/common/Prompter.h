#pragma once
// Every message box of the program goes through this service, so that tests see the exact
// text, kind and buttons and script the answer.

#include <QString>

namespace xr {

enum class PromptKind { Information, Warning, Error, Confirmation, Plain };
enum class PromptButtons { Ok, YesNo };
enum class PromptAnswer { Ok, Yes, No };

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual PromptAnswer ask(PromptKind kind, const QString& text, PromptButtons buttons) = 0;

    void inform(const QString& text) { ask(PromptKind::Information, text, PromptButtons::Ok); }
    void warn(const QString& text) { ask(PromptKind::Warning, text, PromptButtons::Ok); }
    void error(const QString& text) { ask(PromptKind::Error, text, PromptButtons::Ok); }
    // A box without an icon.
    void say(const QString& text) { ask(PromptKind::Plain, text, PromptButtons::Ok); }
    bool confirm(const QString& text)
    {
        return ask(PromptKind::Confirmation, text, PromptButtons::YesNo) == PromptAnswer::Yes;
    }
};

} // namespace xr
