#pragma once
// Every message box and file dialog of the program goes through this service, so that tests
// see the exact text, kind and buttons and script the answer.

#include <QString>

namespace xr {

enum class PromptKind { Information, Warning, Error, Confirmation, Plain };
enum class PromptButtons { Ok, YesNo };
enum class PromptAnswer { Ok, Yes, No };
enum class FileDialogKind { Open, Save };

// A file dialog: its title, its one file type in Qt's form ("数据库文件(*.mdb)") and the file
// proposed in it. An open dialog accepts only an existing file; a save dialog asks before
// replacing one.
struct FileDialogRequest {
    FileDialogKind kind;
    QString title;
    QString filter;
    QString proposedFile;
};

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual PromptAnswer ask(PromptKind kind, const QString& text, PromptButtons buttons) = 0;
    // The chosen file, or an empty text when the user cancels.
    virtual QString chooseFile(const FileDialogRequest& request) = 0;

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
