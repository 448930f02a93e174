#pragma once
// The application object. Every event passes its notify(), the one place where an error that
// escapes a handler or a timer tick is shown, after which the event loop goes on.

#include <QApplication>

namespace xr {

class Prompter;

class XarvaneApplication : public QApplication {
    Q_OBJECT
public:
    XarvaneApplication(int& argc, char** argv, Prompter& prompter);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    Prompter& m_prompter;
};

} // namespace xr
