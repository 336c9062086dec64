#include "WindowFixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QMenuBar>
#include <QTest>

WindowFixture::WindowFixture(RandomSource* random)
    : previousDir_(QDir::currentPath())
    , random_(random ? random : &scripted)
{
    QDir::setCurrent(tempDir_.path());
}

WindowFixture::~WindowFixture()
{
    window_.reset();
    QDir::setCurrent(previousDir_);
}

CVarnelDlg& WindowFixture::open()
{
    window_ = std::make_unique<CVarnelDlg>(desktop, *random_);
    window_->OnInitWindow();
    window_->show();
    QTest::qWaitForWindowExposed(window_.get());
    return *window_;
}

QLineEdit* WindowFixture::edit(int id) const
{
    return qobject_cast<QLineEdit*>(window_->control(id));
}

QAbstractButton* WindowFixture::button(int id) const
{
    return qobject_cast<QAbstractButton*>(window_->control(id));
}

void WindowFixture::click(int id)
{
    QTest::mouseClick(button(id), Qt::LeftButton);
}

void WindowFixture::type(int id, const QString& text)
{
    QLineEdit* field = edit(id);
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

void WindowFixture::triggerMenu(int commandId)
{
    auto* action = window_->findChild<QAction*>(QStringLiteral("command%1").arg(commandId));
    Q_ASSERT(action);
    action->trigger();
}
