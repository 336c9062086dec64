#include "app/CVarnelDlg.h"

#include "app/Desktop.h"
#include "app/FixedSizeGuard.h"
#include "app/PasswordClipboard.h"
#include "list/ColumnFitter.h"
#include "list/ResultList.h"
#include "list/ResultListView.h"
#include "os/WorkingDirectoryGuard.h"
#include "prefs/TooltipTexts.h"
#include "resources/Accessibility.h"
#include "resources/AppIcon.h"
#include "resources/DialogBuilder.h"
#include "resources/Strings.h"

#include <QAbstractButton>
#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QStyle>

// An ordinary top-level window, so that it has its own button on the task bar; its nested windows are
// dialogs that belong to it.
CVarnelDlg::CVarnelDlg(Desktop& desktop, RandomSource& random, QWidget* parent)
    : QDialog(parent,
              Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                  | Qt::MSWindowsFixedSizeDialogHint)
    , desktop_(desktop)
    , random_(random)
    , list_(new ResultList(this))
    , clipboard_(new PasswordClipboard(this))
    , windowIcon_(appIcon())
{
    setWindowTitle(QString::fromLatin1(mainWindowLayout().caption));
    buildWindow();
}

CVarnelDlg::~CVarnelDlg() = default;

void CVarnelDlg::buildWindow()
{
    const DialogLayout& layout = mainWindowLayout();
    setFont(dialogFont(layout.pointSize));
    const DialogUnits units = DialogUnits::forFont(font());

    buildMenuBar();
    const int menuHeight = menuBar_->sizeHint().height();
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));

    const BuiltControls built =
        buildControls(client, layout, units, [this](const ControlLayout& control, QWidget* parent) -> QWidget* {
            if (control.kind != ControlKind::ListView)
                return nullptr;
            listView_ = new ResultListView(parent);
            listView_->setModel(list_);
            return listView_;
        });
    controls_ = built.byId;
    describeControls(built, TooltipTextFor);
    fitter_ = new ColumnFitter(*list_, *listView_);
    client->setGeometry(0, menuHeight, built.units.toPixelsX(layout.width), built.units.toPixelsY(layout.height));

    for (QWidget* widget : built.inCreationOrder) {
        const int id = controlId(widget);
        if (id != NoControlId)
            widget->installEventFilter(this);
        if (auto* button = qobject_cast<QAbstractButton*>(widget); button && id != NoControlId)
            connect(button, &QAbstractButton::clicked, this, [this, id] { OnCommand(id); });
    }
    listView_->viewport()->installEventFilter(this);
    connect(listView_, &ResultListView::clickedInList, this, &CVarnelDlg::LoadSelectedRow);
    connect(listView_, &ResultListView::copyRequested, this, &CVarnelDlg::CopySelectedRows);
    clipboard_->watch(qobject_cast<QLineEdit*>(control(IdPassword)));
    clipboard_->watch(qobject_cast<QLineEdit*>(control(IdUsername)));

    menuBar_->setGeometry(0, 0, client->width(), menuHeight);
    setFixedSize(client->width(), menuHeight + client->height());
    new FixedSizeGuard(*this);
    buildWindowMenu();
}

QWidget* CVarnelDlg::control(int id) const
{
    return controls_.value(id);
}

ResultList& CVarnelDlg::resultList() const
{
    return *list_;
}

ResultListView* CVarnelDlg::listView() const
{
    return listView_;
}

PasswordClipboard& CVarnelDlg::passwordClipboard() const
{
    return *clipboard_;
}

const GeneratorOptions& CVarnelDlg::options() const
{
    return options_;
}

bool CVarnelDlg::OnInitWindow()
{
    WriteControls();
    addAboutItem();
    setWindowIcon(windowIcon_);
    // The random source needs no seeding: it is the system's own secure generator.
    SetUpColumns();
    ApplyDefaults();
    LoadPreferences();
    ApplyTooltipsPreference();

    if (QWidget* ok = control(IdOk))
        ok->setFocus(Qt::OtherFocusReason);
    return true;
}

QIcon CVarnelDlg::OnDragIconRequest() const
{
    return windowIcon_;
}

// QDialog::exec() would make the window modal to the whole application, and the desktop would show it
// as a dialog; the program only needs to wait here until the window ends.
int CVarnelDlg::exec()
{
    setResult(0);
    QEventLoop loop;
    connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
    show();
    if (isVisible())
        loop.exec();
    return result();
}

void CVarnelDlg::accept()
{
    OnOk();
}

void CVarnelDlg::reject()
{
    OnCancel();
}

void CVarnelDlg::OnOk()
{
    CommandScope scope(*this);
    if (!ReadControls())
        return;
    QDialog::accept();
}

void CVarnelDlg::OnCancel()
{
    QDialog::reject();
}

void CVarnelDlg::OnQuit()
{
    // Quit leaves at once: the window is never destroyed, so the preferences are not written.
    clipboard_->clearIfUnchanged();
    desktop_.exitProcess(0);
}

void CVarnelDlg::done(int result)
{
    clipboard_->clearIfUnchanged();
    QDialog::done(result);
    OnWindowDestroyed();
}

void CVarnelDlg::OnWindowDestroyed()
{
    if (destroyed_)
        return;
    destroyed_ = true;
    SavePreferences();
}

void CVarnelDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (shownOnce_ || parentWidget())
        return;
    shownOnce_ = true;
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
}

// OnPaintWindow: the icon is drawn by hand only while the window is minimised.
void CVarnelDlg::paintEvent(QPaintEvent* event)
{
    if (!isMinimized()) {
        QDialog::paintEvent(event);
        return;
    }
    QPainter painter(this);
    const int extent = style()->pixelMetric(QStyle::PM_LargeIconSize, nullptr, this);
    const QSize iconSize(extent, extent);
    painter.eraseRect(rect());
    painter.drawPixmap(minimizedIconPosition(size(), iconSize), windowIcon_.pixmap(iconSize));
}

void CVarnelDlg::setFileTitle(const QString& path)
{
    setWindowTitle(QString::fromLatin1(TitlePrefix) + path);
}

// The chooser of both file commands. Whatever the user browses to, the working directory is the same
// afterwards, so that vrn.ini and readme.txt are always found where the program started.
std::optional<QString> CVarnelDlg::chooseFileKeepingDirectory(bool forSaving)
{
    WorkingDirectoryGuard keepDirectory;
    FileChooserSetup setup;
    setup.mode = forSaving ? FileChooserSetup::Mode::Save : FileChooserSetup::Mode::Open;
    for (const char* filter : FileChooserFilters)
        setup.filters.append(QString::fromLatin1(filter));
    setup.defaultSuffix = QString::fromLatin1(FileChooserDefaultSuffix);
    std::optional<QString> path = desktop_.chooseFile(this, setup);
    if (path)
        setFileTitle(*path);
    return path;
}

void CVarnelDlg::reportFileError(const QString& text, const QString& caption, const QString& path,
                                 const QString& reason)
{
    desktop_.showMessage(this, QStringLiteral("%1\n\n%2\n%3").arg(text, QDir::toNativeSeparators(path), reason),
                         caption);
}

CommandScope::CommandScope(CVarnelDlg& window) : window_(window)
{
    if (window_.commandDepth_++ == 0)
        window_.promptShownInCommand_ = false;
}

CommandScope::~CommandScope()
{
    --window_.commandDepth_;
}

ControlBatch::ControlBatch(CVarnelDlg& window) : window_(window)
{
    if (window_.batchDepth_++ == 0)
        window_.list_->beginBatch();
}

ControlBatch::~ControlBatch()
{
    if (--window_.batchDepth_ == 0)
        window_.finishBatch();
}

void CVarnelDlg::finishBatch()
{
    list_->endBatch();
    if (deferredFit_) {
        deferredFit_ = false;
        FitColumns();
    }
    if (deferredWrite_) {
        deferredWrite_ = false;
        WriteControls();
    }
}
