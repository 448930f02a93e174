#pragma once
// The companion program list dialog winSyn ("XR同时启动"): the entries of the list file, added
// through a file dialog and deleted one by one. There is no cancel: the list is written to the
// file whenever the dialog closes.

#include <QDialog>

class QListWidget;

namespace xr {

class Prompter;

class TwinSyn : public QDialog {
    Q_OBJECT
public:
    // `appPath` is the program folder that holds the list file.
    TwinSyn(const QString& appPath, Prompter& prompter, QWidget* parent = nullptr);

    void btnAddClick();
    void btnDelClick();

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void FormShow();
    void FormClose();

    QString m_listFile;
    bool m_listRead = false;
    Prompter& m_prompter;
    QListWidget* m_lbList;
};

} // namespace xr
