#include "browser/MainActions.h"

#include "browser/ToolPictures.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include <optional>

namespace xr {

namespace {

constexpr int kButtonWidth = 32;
constexpr int kButtonHeight = 30;
constexpr int kToolBarHeight = 36;

QAction* makeAction(QObject* owner, const QString& name, const QString& caption, const QString& hint,
                    std::optional<ToolPicture> picture)
{
    auto* action = new QAction(caption, owner);
    action->setObjectName(name);
    if (!hint.isEmpty())
        action->setToolTip(hint);
    if (picture)
        action->setIcon(toolIcon(*picture));
    return action;
}

QAction* makeCheckItem(QObject* owner, const QString& name, const QString& caption, bool checked)
{
    auto* item = new QAction(caption, owner);
    item->setObjectName(name);
    item->setCheckable(true);
    item->setChecked(checked);
    return item;
}

// A menu item with a caption of its own that runs `action` and follows its enabled state.
QAction* captionedItem(QMenu& menu, const QString& name, const QString& caption, QAction* action)
{
    QAction* item = menu.addAction(caption);
    item->setObjectName(name);
    item->setToolTip(action->toolTip());
    item->setEnabled(action->isEnabled());
    QObject::connect(item, &QAction::triggered, action, &QAction::trigger);
    QObject::connect(action, &QAction::changed, item, [item, action] { item->setEnabled(action->isEnabled()); });
    return item;
}

QMenu* addMenu(QMenuBar& menuBar, const QString& name, const QString& caption)
{
    QMenu* menu = menuBar.addMenu(caption);
    menu->setObjectName(name);
    menu->setToolTipsVisible(true);
    return menu;
}

} // namespace

MainActions::MainActions(QObject* owner)
    : actClose(makeAction(owner, QStringLiteral("actClose"), QStringLiteral("关闭(&X)"), QStringLiteral("关闭"),
                          ToolPicture::Close)),
      actFirst(makeAction(owner, QStringLiteral("actFirst"), QStringLiteral("第一条(&F)"),
                          QStringLiteral("第一条记录"), ToolPicture::First)),
      actPre(makeAction(owner, QStringLiteral("actPre"), QStringLiteral("上一条(&P)"), QStringLiteral("上一条记录"),
                        ToolPicture::Pre)),
      actNext(makeAction(owner, QStringLiteral("actNext"), QStringLiteral("下一条(&N)"),
                         QStringLiteral("下一条记录"), ToolPicture::Next)),
      actLast(makeAction(owner, QStringLiteral("actLast"), QStringLiteral("末一条(&L)"),
                         QStringLiteral("最后一条记录"), ToolPicture::Last)),
      actDelRecord(makeAction(owner, QStringLiteral("actDelRecord"), QStringLiteral("删除一条记录(&D)"),
                              QStringLiteral("删除当前一条记录"), ToolPicture::DelRecord)),
      actDelAll(makeAction(owner, QStringLiteral("actDelAll"), QStringLiteral("删除列表所有记录(&A)"),
                           QStringLiteral("删除列表中的所有记录"), ToolPicture::DelAll)),
      actPrint(makeAction(owner, QStringLiteral("actPrint"), QStringLiteral("打印(&P)..."),
                          QStringLiteral("打印当前上网记录"), ToolPicture::Print)),
      actBackup(makeAction(owner, QStringLiteral("actBackup"), QStringLiteral("备份数据库(&B)..."),
                           QStringLiteral("备份数据库文件"), ToolPicture::Backup)),
      actComeback(makeAction(owner, QStringLiteral("actComeback"), QStringLiteral("恢复数据库(&R)..."),
                             QStringLiteral("恢复数据文件"), ToolPicture::Comeback)),
      actUserManage(makeAction(owner, QStringLiteral("actUserManage"), QStringLiteral("用户管理(&M)"),
                               QStringLiteral("用户管理"), ToolPicture::UserManage)),
      actAllowance(makeAction(owner, QStringLiteral("actAllowance"), QStringLiteral("上网时限(&T)..."),
                              QStringLiteral("设置每个用户的上网时限，或给用户今天加时"), std::nullopt)),
      actPassword(makeAction(owner, QStringLiteral("actPassword"), QStringLiteral("修改密码(&P)..."),
                             QStringLiteral("修改密码"), ToolPicture::Password)),
      actChangeUser(makeAction(owner, QStringLiteral("actChangeUser"), QStringLiteral("更改用户(&C)"),
                               QStringLiteral("更改用户"), ToolPicture::ChangeUser)),
      actLogout(makeAction(owner, QStringLiteral("actLogout"), QStringLiteral("注销(&L)"),
                           QStringLiteral("注销当前用户"), ToolPicture::Logout)),
      actMoveRecord(makeAction(owner, QStringLiteral("actMoveRecord"), QStringLiteral("指定匿名记录(&M)..."),
                               QStringLiteral("指定匿名用户的上网记录到有效用户"), ToolPicture::MoveRecord)),
      actConnect(makeAction(owner, QStringLiteral("actConnect"), QStringLiteral("连接(&C)"), QStringLiteral("连接"),
                            ToolPicture::Connect)),
      actDisConn(makeAction(owner, QStringLiteral("actDisConn"), QStringLiteral("断开连接(&D)"),
                            QStringLiteral("断开当前连接"), ToolPicture::DisConn)),
      actConnSetting(makeAction(owner, QStringLiteral("actConnSetting"), QStringLiteral("连接设置(&O)..."), {},
                                ToolPicture::ConnSetting)),
      actOption(makeAction(owner, QStringLiteral("actOption"), QStringLiteral("设置选项(&O)"),
                           QStringLiteral("设置选项"), ToolPicture::Option)),
      actSyn(makeAction(owner, QStringLiteral("actSyn"), QStringLiteral("同时启动(&S)..."),
                        QStringLiteral("登录后同时启动其它程序"), ToolPicture::Syn)),
      actHelp(makeAction(owner, QStringLiteral("actHelp"), QStringLiteral("帮助(&H)"), QStringLiteral("帮助"),
                         ToolPicture::Help)),
      actMail(makeAction(owner, QStringLiteral("actMail"), QStringLiteral("给软件作者写信(&M)..."), {},
                         ToolPicture::Mail)),
      actAbout(makeAction(owner, QStringLiteral("actAbout"), QStringLiteral("关于XR..."), QStringLiteral("关于XR"),
                          ToolPicture::About)),
      actCalc(makeAction(owner, QStringLiteral("actCalc"), QStringLiteral("计算器(&C)"),
                         QStringLiteral("打开计算器"), ToolPicture::Calc)),
      actExport(makeAction(owner, QStringLiteral("actExport"), QStringLiteral("导出(&E)..."),
                           QStringLiteral("把当前上网记录导出为 CSV 或 PDF 文件"), std::nullopt)),
      actStats(makeAction(owner, QStringLiteral("actStats"), QStringLiteral("上网统计(&S)..."),
                          QStringLiteral("按日、月、年、用户和连接统计上网时间和流量"), ToolPicture::Stats)),
      mmiFloatWin(makeCheckItem(owner, QStringLiteral("mmiFloatWin"), QStringLiteral("悬浮窗口"), false)),
      mmiToolsBar(makeCheckItem(owner, QStringLiteral("mmiToolsBar"), QStringLiteral("工具栏"), true))
{
    actDisConn->setEnabled(false);
}

QList<QAction*> MainActions::adminActions() const
{
    return {actDelRecord, actDelAll, actComeback, actUserManage, actMoveRecord, actOption, actAllowance};
}

void buildMainMenu(QMenuBar& menuBar, const MainActions& a)
{
    QMenu* settings = addMenu(menuBar, QStringLiteral("mmSettings"), QStringLiteral("设置(&S)"));
    settings->addActions({a.actBackup, a.actComeback});
    settings->addSeparator();
    captionedItem(*settings, QStringLiteral("mmiOption"), QStringLiteral("设置选项(&O)..."), a.actOption);
    settings->addActions({a.actSyn, a.mmiFloatWin, a.mmiToolsBar});
    settings->addSeparator();
    settings->addActions({a.actPrint, a.actExport});
    settings->addSeparator();
    settings->addAction(a.actCalc);
    settings->addSeparator();
    settings->addAction(a.actClose);

    QMenu* connection = addMenu(menuBar, QStringLiteral("mmConnection"), QStringLiteral("连接(&C)"));
    connection->addActions({a.actConnect, a.actDisConn});
    connection->addSeparator();
    connection->addAction(a.actConnSetting);

    QMenu* records = addMenu(menuBar, QStringLiteral("mmRecords"), QStringLiteral("记录(&R)"));
    records->addActions({a.actFirst, a.actPre, a.actNext, a.actLast});
    records->addSeparator();
    captionedItem(*records, QStringLiteral("mmiDelRecord"), a.actDelRecord->text(), a.actDelRecord)
        ->setToolTip(QStringLiteral("删除选择的一条记录"));
    records->addSeparator();
    records->addAction(a.actDelAll);
    records->addSeparator();
    records->addAction(a.actMoveRecord);
    records->addSeparator();
    records->addAction(a.actStats);

    QMenu* users = addMenu(menuBar, QStringLiteral("mmUsers"), QStringLiteral("用户(&U)"));
    users->addActions({a.actUserManage, a.actAllowance, a.actPassword});
    users->addSeparator();
    users->addActions({a.actChangeUser, a.actLogout});

    QMenu* help = addMenu(menuBar, QStringLiteral("mmHelp"), QStringLiteral("帮助(&H)"));
    help->addActions({a.actHelp, a.actMail, a.actAbout});
}

void buildToolBar(QToolBar& toolBar, const MainActions& a)
{
    toolBar.setIconSize(QSize(kToolPictureSize, kToolPictureSize));
    toolBar.setFixedHeight(kToolBarHeight);
    toolBar.setMovable(false);
    const QList<QList<QAction*>> groups{
        {a.actOption, a.actSyn},
        {a.actPrint, a.actStats, a.actCalc},
        {a.actConnect, a.actDisConn},
        {a.actFirst, a.actPre, a.actNext, a.actLast},
        {a.actDelRecord, a.actDelAll, a.actMoveRecord},
        {a.actUserManage, a.actPassword, a.actChangeUser, a.actLogout},
        {a.actHelp, a.actAbout},
        {a.actClose}};
    for (const QList<QAction*>& group : groups) {
        if (!toolBar.actions().isEmpty())
            toolBar.addSeparator();
        for (QAction* action : group) {
            toolBar.addAction(action);
            if (QWidget* button = toolBar.widgetForAction(action)) {
                button->setObjectName(QStringLiteral("btn") + action->objectName().mid(3));
                button->setFixedSize(kButtonWidth, kButtonHeight);
            }
        }
    }
}

} // namespace xr
