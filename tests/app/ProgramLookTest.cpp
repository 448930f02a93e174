// The program's language and look, as set at start-up: Qt's own texts in Chinese, a Chinese
// calendar, the fixed date formats kept, and one font in every kind of window.
#include "app/ProgramLook.h"
#include "common/DisplayFormats.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QDir>
#include <QFileIconProvider>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>

namespace xr {
namespace {

class ProgramLook : public ::testing::Test {
protected:
    static void SetUpTestSuite() { applyProgramLook(*qApp); }
};

TEST_F(ProgramLook, QtsOwnTextsAreChineseAndTheTitleIsTheProgramsName)
{
    QMessageBox box(QMessageBox::Question, QString(), QStringLiteral("断开连接吗？"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QStringLiteral("是(&Y)"));
    EXPECT_EQ(box.button(QMessageBox::No)->text(), QStringLiteral("否(&N)"));
    EXPECT_EQ(box.button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("取消"));
    EXPECT_EQ(QApplication::applicationDisplayName(), QStringLiteral("XarvaneXR"));
    EXPECT_EQ(QFileIconProvider().type(QFileInfo(QDir::tempPath())), QStringLiteral("文件夹"))
        << "the file dialogs' type column";
}

TEST_F(ProgramLook, CalendarsSpeakChineseAndTheFixedFormatsStay)
{
    QCalendarWidget calendar;
    EXPECT_EQ(calendar.locale().language(), QLocale::Chinese);
    EXPECT_EQ(calendar.locale().standaloneMonthName(12), QStringLiteral("十二月"));

    QDateEdit picker;
    picker.setDisplayFormat(kShortDateFormat);
    picker.setDate(QDate(2026, 12, 9));
    EXPECT_EQ(picker.text(), QStringLiteral("2026-12-9"));
    EXPECT_EQ(dateTimeText(QDateTime(QDate(2026, 12, 19), QTime(17, 19, 31))),
              QStringLiteral("2026-12-19 17:19:31"));
    EXPECT_EQ(QDate(2026, 12, 9).toString(QStringLiteral("MMM")), QStringLiteral("Dec"))
        << "formats by pattern stay fixed";
}

TEST_F(ProgramLook, EveryKindOfWindowUsesTheOneFont)
{
    const QString face = QFontInfo(programFont()).family();
    if (QFontDatabase::hasFamily(QStringLiteral("Noto Serif CJK SC")) &&
        !QFontDatabase::hasFamily(QStringLiteral("SimSun"))) {
        EXPECT_EQ(face, QStringLiteral("Noto Serif CJK SC")) << "the Song-style face where there is one";
    }
    QMainWindow window;
    QMenu menu;
    QMessageBox box;
    QTableView grid;
    QCalendarWidget calendar;
    for (const QWidget* widget :
         std::initializer_list<const QWidget*>{&window, &menu, &box, &grid, &calendar}) {
        EXPECT_EQ(QFontInfo(widget->font()).family(), face) << widget->metaObject()->className();
        EXPECT_EQ(widget->font().pointSize(), 9) << widget->metaObject()->className();
    }
}

} // namespace
} // namespace xr
