#pragma once
// A main window over a fresh usage database, a scripted dial-up service, a set clock (Sunday
// 2004-03-07 09:05:03) and scripted message boxes.

#include "browser/utMain.h"
#include "connections/RASNotify.h"
#include "store/Database.h"
#include "store/SqlCommand.h"

#include "CheckedModel.h"
#include "TestContext.h"

#include <gtest/gtest.h>

#include <memory>

class QLabel;

namespace xr::test {

inline const QString kZhangId = QStringLiteral("200403010800000");
inline const QString kLiId = QStringLiteral("200403010800001");

class MainWindowFixture : public ::testing::Test, protected TestContext {
protected:
    MainWindowFixture();
    ~MainWindowFixture() override;

    void addUser(const QString& id, const QString& name);
    void addRecord(const QDateTime& start, const QDateTime& end, const QString& userId,
                   const QString& connName = QStringLiteral("163"));
    // Sets the bytes received and sent of the record that starts at `start`.
    void setTraffic(const QDateTime& start, qint64 received, qint64 sent);
    int storedRecords();

    void signInZhang() { context.currentConnection = {kZhangId, QStringLiteral("张三"), {}, 0, 0, false}; }
    void signInAdmin();
    // A connection up in the service, seen by the notifier, and the recorder's state for it.
    void connect(const QString& connName, const QDateTime& start);

    QString panel(int index) const;
    QString counter() const;
    QString total() const;
    bool noErrorShown() const;

    Database database;
    SqlCommand command{database};
    TRASNotify notify{ras};
    std::unique_ptr<TwinMain> window;
    std::unique_ptr<CheckedModel> checkedRecords; // the grid's model, for the window's life
};

} // namespace xr::test
