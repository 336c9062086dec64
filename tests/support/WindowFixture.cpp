#include "WindowFixture.h"

#include "list/ResultList.h"
#include "list/ResultListView.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAction>
#include <QMenuBar>
#include <QTest>

WindowFixture::WindowFixture(RandomSource* random) : random_(random ? random : &scripted) { }

WindowFixture::~WindowFixture() = default;

CVarnelDlg& WindowFixture::open()
{
    return openWith(desktop);
}

CVarnelDlg& WindowFixture::openWith(Desktop& other)
{
    window_ = std::make_unique<CVarnelDlg>(other, *random_);
    window_->OnInitWindow();
    window_->show();
    if (!QTest::qWaitForWindowExposed(window_.get()))
        qWarning("The main window was not exposed");
    return *window_;
}

bool WindowFixture::activate()
{
    window_->activateWindow();
    return QTest::qWaitForWindowActive(window_.get());
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

void WindowFixture::clickRow(int row, Qt::KeyboardModifiers modifiers)
{
    ResultListView* view = window_->listView();
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, view->visualRect(index).center());
}

void WindowFixture::clickListBelowRows()
{
    ResultListView* view = window_->listView();
    const int rows = view->model()->rowCount();
    int bottom = 0;
    if (rows > 0) {
        view->scrollToBottom();
        bottom = view->visualRect(view->model()->index(rows - 1, 0)).bottom() + 1;
    }
    // Halfway between the last row and the bottom edge; the caller keeps the rows few enough to leave room.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(10, (bottom + view->viewport()->height()) / 2));
}

QString WindowFixture::shownCell(int row, int column) const
{
    const QAbstractItemModel* model = window_->listView()->model();
    return model->data(model->index(row, column), Qt::DisplayRole).toString();
}

QList<CredentialPair> rowsOf(const CVarnelDlg& window)
{
    const auto& rows = window.resultList().rows();
    return QList<CredentialPair>(rows.begin(), rows.end());
}
