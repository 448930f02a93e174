#pragma once
// The program as its entry puts it together, over the stand-in platform, a fresh database, a
// settings file and the simulated dial-up service (whose dials run on threads of their own).

#include "app/XarvaneProgram.h"
#include "browser/utMain.h"
#include "common/AppContext.h"
#include "connections/ConnSettingCommand.h"
#include "connections/DialStatusLayout.h"
#include "connections/Dialer.h"
#include "connections/utDialStatus.h"
#include "platform/RegistryFile.h"
#include "platform/SimRemoteAccess.h"
#include "platform/SimStateFile.h"
#include "settings/SettingsStore.h"
#include "users/utLogin.h"

#include "InstalledDatabase.h"
#include "ManualClock.h"
#include "ScriptedPrompter.h"
#include "StandInPlatform.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace xr::test {

inline const QString kAdminId = QStringLiteral("000000000000000001");

class DialingFixture : public ::testing::Test {
protected:
    DialingFixture() : DialingFixture(nullptr) {}
    // The windows over another dial-up service than the simulated one (it must outlive them).
    explicit DialingFixture(platform::RemoteAccess* service)
        : registry(file(QStringLiteral("Xarvane.reg"))),
          ras(file(QStringLiteral("SimRas.json")).toStdString()),
          context(dir.path() + QLatin1Char('/'), clock, prompter, service ? *service : ras, registry)
    {
    }

    void SetUp() override
    {
        createInstalledDatabase(context.appPath + kDatabaseFileName);
        installDefaultSettings(registry);
        program = std::make_unique<XarvaneProgram>(context, platform);
        tray = &program->session();
        ASSERT_TRUE(tray->databaseOpened());
        program->createStartupWindows();
        winLogin = &program->winLogin();
        winMain = &program->winMain();
        winDialStatus = &program->winDialStatus();
        dialer = &program->dialer();
        connSetting = &program->connSetting();
    }

    QString file(const QString& name) const { return QDir(dir.path()).filePath(name); }

    // Adds a phonebook entry of the simulated service.
    void addEntry(const std::string& name, const std::string& user = "alice",
                  const std::string& password = "secret", std::uint32_t dialMs = 20,
                  std::uint32_t failCode = 0)
    {
        changeService([&](platform::SimState& state) {
            state.entries.push_back({name, user, password, "16300", dialMs, failCode});
        });
    }

    void changeService(const std::function<void(platform::SimState&)>& change)
    {
        std::string error;
        ASSERT_TRUE(stateFile.update(
            [&](platform::SimState& state) {
                change(state);
                return true;
            },
            error))
            << error;
    }

    // The simulated service's connections as "entry:state".
    QStringList serviceConnections() const
    {
        platform::SimState state;
        std::string error;
        EXPECT_TRUE(stateFile.read(state, error)) << error;
        QStringList list;
        for (const platform::SimConnection& c : state.connections)
            list << QString::fromStdString(c.entryName) + QLatin1Char(':') + QString::number(c.state);
        return list;
    }

    void signInAdmin()
    {
        context.currentConnection.UserId = kAdminId;
        context.currentConnection.UserName = QStringLiteral("admin");
        context.currentConnection.Admin = true;
    }

    template <class T> T* statusControl(const char* name) const
    {
        T* found = winDialStatus->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString statusText() const { return statusControl<QLabel>("lblDialStatus")->text(); }
    QString connNameText() const { return statusControl<QLabel>("lblConnName")->text(); }
    QString errorLines() const { return statusControl<QPlainTextEdit>("memError")->toPlainText(); }
    QPushButton* statusButton(const char* name) const { return statusControl<QPushButton>(name); }

    bool errorShown() const { return winDialStatus->isVisible() && winDialStatus->ShowMode() == kDialError; }

    QStringList promptTexts() const
    {
        QStringList texts;
        for (const Prompt& prompt : prompter.prompts)
            texts << prompt.text;
        return texts;
    }

    QStringList recordedUsers()
    {
        QStringList users;
        QSqlQuery query(tray->adoConnMain().connection());
        query.exec(QStringLiteral("select UserId, ConnName from XRRecord order by Sdt"));
        while (query.next())
            users << query.value(0).toString() + QLatin1Char('/') + query.value(1).toString();
        return users;
    }

    QTemporaryDir dir;
    ManualClock clock;
    ScriptedPrompter prompter;
    platform::RegistryFile registry;
    platform::SimStateFile stateFile{file(QStringLiteral("SimRas.json")).toStdString()};
    platform::SimRemoteAccess ras;
    AppContext context;
    StandInPlatform platform;
    std::unique_ptr<XarvaneProgram> program;
    XarvaneSession* tray = nullptr;
    TwinLogin* winLogin = nullptr;
    TwinMain* winMain = nullptr;
    TwinDialStatus* winDialStatus = nullptr;
    Dialer* dialer = nullptr;
    ConnSettingCommand* connSetting = nullptr;
};

} // namespace xr::test
