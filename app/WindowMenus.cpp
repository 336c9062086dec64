// The menu bar, the window menu and the About box they open.
#include "app/CVarnelDlg.h"

#include "app/CAboutDlg.h"
#include "app/Desktop.h"
#include "resources/Menu.h"
#include "resources/Strings.h"

#include <QAction>
#include <QHash>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

void CVarnelDlg::buildMenuBar()
{
    menuBar_ = new QMenuBar(this);
    menuBar_->setNativeMenuBar(false);
    QHash<QString, QMenu*> menus;
    for (const MenuItemLayout& item : mainMenuLayout()) {
        const QString menuName = QString::fromLatin1(item.menu);
        QMenu*& menu = menus[menuName];
        if (!menu)
            menu = menuBar_->addMenu(menuName);
        QMenu* target = menu;
        if (item.submenu) {
            const QString key = menuName + QLatin1Char('/') + QString::fromLatin1(item.submenu);
            QMenu*& submenu = menus[key];
            if (!submenu)
                submenu = menu->addMenu(QString::fromLatin1(item.submenu));
            target = submenu;
        }
        QAction* action = target->addAction(QString::fromLatin1(item.caption));
        action->setData(item.id);
        action->setObjectName(QStringLiteral("command%1").arg(item.id));
        const int id = item.id;
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    }
    menuBar_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(menuBar_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { showWindowMenu(menuBar_->mapToGlobal(pos)); });
}

// The desktop's own window menu cannot be extended from here, so the window carries one of its own,
// opened with Alt+Space or a right click on the menu bar.
void CVarnelDlg::buildWindowMenu()
{
    windowMenu_ = new QMenu(this);
    windowMenu_->setObjectName(QStringLiteral("windowMenu"));
    QAction* close = windowMenu_->addAction(QStringLiteral("&Close"));
    close->setData(WindowMenuCloseId);
    connect(close, &QAction::triggered, this, [this] { OnWindowMenuCommand(WindowMenuCloseId); });
    auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this);
    connect(shortcut, &QShortcut::activated, this, [this] { showWindowMenu(mapToGlobal(QPoint(0, 0))); });
}

void CVarnelDlg::showWindowMenu(const QPoint& globalPos)
{
    windowMenu_->popup(globalPos);
}

QMenu* CVarnelDlg::windowMenu() const
{
    return windowMenu_;
}

QMenuBar* CVarnelDlg::menuBar() const
{
    return menuBar_;
}

// The window menu ends in the About item, added while the window initialises.
void CVarnelDlg::addAboutItem()
{
    const QString aboutText = QString::fromLatin1(AboutItemText);
    if (windowMenu_ && !aboutText.isEmpty()) {
        windowMenu_->addSeparator();
        QAction* about = windowMenu_->addAction(aboutText);
        about->setData(AboutCommandId);
        connect(about, &QAction::triggered, this, [this] { OnWindowMenuCommand(AboutCommandId); });
    }
}

void CVarnelDlg::OnWindowMenuCommand(quint32 commandId, qintptr parameter)
{
    Q_UNUSED(parameter);
    if ((commandId & 0xFFF0u) == AboutCommandId) {
        ShowAboutBox();
        return;
    }
    if (commandId == WindowMenuCloseId)
        OnCancel();
}

void CVarnelDlg::ShowAboutBox()
{
    CAboutDlg about(this);
    desktop_.runModal(about);
}

void CVarnelDlg::OnHelpAbout()
{
    ShowAboutBox();
}
