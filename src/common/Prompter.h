#pragma once
// Every message box and file dialog of the program goes through this service, so that tests
// see the exact text, kind and buttons and script the answer.

#include <QString>
#include <QStringList>

namespace xr {

enum class PromptKind { Information, Warning, Error, Confirmation, Plain };
enum class PromptButtons { Ok, YesNo };
enum class PromptAnswer { Ok, Yes, No };
enum class FileDialogKind { Open, Save };

// A file-open or file-save dialog: its title, its filters in Qt's form ("数据库文件(*.mdb)") and
// the file proposed at first. An open dialog accepts only an existing file; a save dialog asks
// before replacing one.
struct FileRequest {
    FileDialogKind kind = FileDialogKind::Open;
    QString title;
    QStringList filters;
    QString proposed;
    // The first filter shows only folders, executable files of any name and desktop entries.
    bool firstFilterPrograms = false;
    // A save dialog adds this suffix ("mdb") to a name typed without one.
    QString defaultSuffix{};
};
// The file the user confirmed (empty when cancelled) and the position of the filter chosen.
struct FileChoice {
    QString fileName;
    int filter = 0;
};

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual PromptAnswer ask(PromptKind kind, const QString& text, PromptButtons buttons) = 0;
    // The chosen file (empty when the user cancels) and the filter chosen with it.
    virtual FileChoice chooseFile(const FileRequest& request) = 0;

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
