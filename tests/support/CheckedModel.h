#pragma once
// Qt's consistency checks over an item model for as long as this object lives: the row and
// column counts, the indexes, the types of the roles and the order of the change signals. Each
// thing the checks find fails the running test.

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QLatin1StringView>

namespace xr::test {

class CheckedModel {
public:
    explicit CheckedModel(QAbstractItemModel* model)
        : m_tester(model, QAbstractItemModelTester::FailureReportingMode::Warning)
    {
    }

private:
    // The checks report through the "qt.modeltest" category; other messages go on as before.
    static bool reportFindings()
    {
        static const bool installed = [] {
            previousHandler() = qInstallMessageHandler(&handle);
            return true;
        }();
        return installed;
    }

    static QtMessageHandler& previousHandler()
    {
        static QtMessageHandler previous = nullptr;
        return previous;
    }

    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        if (type != QtDebugMsg && type != QtInfoMsg && context.category &&
            QLatin1StringView(context.category) == QLatin1StringView("qt.modeltest")) {
            ADD_FAILURE() << message.toStdString();
            return;
        }
        if (previousHandler())
            previousHandler()(type, context, message);
    }

    bool m_reporting = reportFindings(); // before the tester's first checks
    QAbstractItemModelTester m_tester;
};

} // namespace xr::test
