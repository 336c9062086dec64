#include "ModalAnswerer.h"
#include "TemporaryWorkingDirectory.h"
#include "TestFiles.h"
#include "WindowFixture.h"
#include "app/CAboutDlg.h"
#include "app/CVarnelApp.h"
#include "app/SocketLayer.h"
#include "list/ResultList.h"
#include "resources/AppIcon.h"
#include "resources/Layouts.h"
#include "resources/Menu.h"

#include <QAbstractButton>
#include <QAction>
#include <QContextMenuEvent>
#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
class FailingSocketLayer final : public SocketLayer
{
public:
    bool start() override { return false; }
};

class WorkingSocketLayer final : public SocketLayer
{
public:
    bool start() override { return true; }
};

QList<CVarnelDlg*> mainWindows()
{
    QList<CVarnelDlg*> found;
    for (QWidget* widget : QApplication::allWidgets()) {
        if (auto* window = qobject_cast<CVarnelDlg*>(widget))
            found.append(window);
    }
    return found;
}

QStringList labelTexts(const QWidget& dialog)
{
    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        if (!label->text().isEmpty())
            texts.append(label->text());
    }
    return texts;
}

// A right click as the desktop delivers it: the press, then the context-menu request it brings.
void rightClick(QWidget* widget, const QPoint& pos)
{
    QTest::mousePress(widget, Qt::RightButton, {}, pos);
    QContextMenuEvent request(QContextMenuEvent::Mouse, pos, widget->mapToGlobal(pos));
    QApplication::sendEvent(widget, &request);
    QTest::mouseRelease(widget, Qt::RightButton, {}, pos);
}

// Runs nested dialogs for real and presses their OK button once they show.
int runAndPressOk(QDialog& dialog)
{
    QTimer::singleShot(0, &dialog, [&dialog] {
        if (auto* ok = dialog.findChild<QPushButton*>(u"control1"_s))
            QTest::mouseClick(ok, Qt::LeftButton);
        else
            dialog.reject();
    });
    return dialog.exec();
}
} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void socketFailureShowsOneMessageAndNoWindow_data();
    void socketFailureShowsOneMessageAndNoWindow();
    void workingSocketsRunTheMainWindow();
    void mainWindowIsAnOrdinaryWindowAndTheOthersAreModalToIt();
    void windowIsFixedWithoutMinimiseOrMaximise();
    void focusStartsOnOk();
    void enterActsAsOk_data();
    void enterActsAsOk();
    void enterOnGenerateGenerates();
    void waysToEndTheWindow_data();
    void waysToEndTheWindow();
    void windowMenuEndsWithTheAboutItem();
    void windowMenuOpensFromTheKeyboardAndTheMenuBar_data();
    void windowMenuOpensFromTheKeyboardAndTheMenuBar();
    void windowMenuCommandIds_data();
    void windowMenuCommandIds();
    void aboutItemsOpenTheAboutBox_data();
    void aboutItemsOpenTheAboutBox();
    void quitEndsTheProcessWithStatusZero();
    void minimisedIconIsCentredTruncatingTowardZero_data();
    void minimisedIconIsCentredTruncatingTowardZero();
    void iconFilesForTheDesktopEntryAreTheWindowIcon_data();
    void iconFilesForTheDesktopEntryAreTheWindowIcon();
    void aboutBoxShowsItsTexts();
    void aboutBoxCloses_data();
    void aboutBoxCloses();
};

void TestStartup::socketFailureShowsOneMessageAndNoWindow_data()
{
    QTest::addColumn<QByteArray>("preferences");
    QTest::newRow("without a preferences file none is created") << QByteArray();
    QTest::newRow("an existing preferences file is left as it was") << QByteArray("TOOLTIPS=no\n");
}

void TestStartup::socketFailureShowsOneMessageAndNoWindow()
{
    QFETCH(QByteArray, preferences);
    TemporaryWorkingDirectory dir;
    const QString preferencesPath = dir.filePath(u"vrn.ini"_s);
    const QDateTime written(QDate(2001, 2, 3), QTime(4, 5, 6));
    if (!preferences.isEmpty()) {
        createFile(preferencesPath, preferences);
        QFile file(preferencesPath);
        QVERIFY(file.open(QIODevice::Append));
        QVERIFY(file.setFileTime(written, QFileDevice::FileModificationTime));
    }
    FakeDesktop desktop;
    ScriptedRandomSource random;
    FailingSocketLayer sockets;
    qsizetype windowsWhileMessageShown = -1;
    desktop.onMessage = [&](const FakeDesktop::Message&) {
        windowsWhileMessageShown = mainWindows().size();
    };

    QCOMPARE(startApplication(desktop, sockets, random), false);

    QCOMPARE(desktop.messages.size(), 1);
    QCOMPARE(desktop.messages[0].text, u"Windows sockets initialization failed."_s);
    QCOMPARE(desktop.messages[0].caption, u"Varnel"_s);
    QCOMPARE(windowsWhileMessageShown, 0);
    QVERIFY(desktop.modalDialogs.isEmpty());
    QVERIFY(mainWindows().isEmpty());
    QCOMPARE(random.drawn, quint64(0));
    if (preferences.isEmpty()) {
        QCOMPARE(entriesOf(dir.path()), QStringList());
    } else {
        QCOMPARE(contentOf(preferencesPath), preferences);
        QCOMPARE(QFileInfo(preferencesPath).lastModified(), written);
        QCOMPARE(entriesOf(dir.path()), QStringList{u"vrn.ini"_s});
    }
}

void TestStartup::workingSocketsRunTheMainWindow()
{
    TemporaryWorkingDirectory dir;
    FakeDesktop desktop;
    ScriptedRandomSource random;
    WorkingSocketLayer sockets;
    QString title;
    bool defaultsShown = false;
    desktop.onModal = [&](QDialog& dialog) {
        title = dialog.windowTitle();
        auto* window = qobject_cast<CVarnelDlg*>(&dialog);
        defaultsShown = window && qobject_cast<QAbstractButton*>(window->control(IdNumeric))->isChecked();
        return int(QDialog::Rejected);
    };

    QCOMPARE(startApplication(desktop, sockets, random), false);

    QVERIFY(desktop.messages.isEmpty());
    QCOMPARE(desktop.modalDialogs, QStringList{u"CVarnelDlg"_s});
    QCOMPARE(title, u"Varnel"_s);
    QVERIFY(defaultsShown);
    // The window lives only as long as the start-up runs it.
    QVERIFY(mainWindows().isEmpty());
}

// What the desktop is told about each window: its type, the window it belongs to, and what it blocks.
void TestStartup::mainWindowIsAnOrdinaryWindowAndTheOthersAreModalToIt()
{
    TemporaryWorkingDirectory dir;
    QtDesktop desktop;
    ScriptedRandomSource random;
    WorkingSocketLayer sockets;
    QWindow* main = nullptr;
    QStringList seen;
    const auto note = [&](QWidget& widget) {
        const QWindow* window = widget.windowHandle();
        seen.append(u"%1 %2 %3 %4"_s.arg(QString::fromLatin1(widget.metaObject()->className()))
                        .arg(window->type() == Qt::Window ? u"ordinary"_s : u"dialog"_s)
                        .arg(window->transientParent() == main ? u"belongs to the main window"_s : u"stands alone"_s)
                        .arg(window->modality() == Qt::NonModal ? u"modal to nothing"_s : u"modal"_s));
    };
    ModalAnswerer answerer;
    answerer.onDialog = [&](QDialog& dialog) {
        note(dialog);
        dialog.reject();
    };
    answerer.onMessageBox = [&](QMessageBox& box) {
        note(box);
        box.accept();
    };
    answerer.onFileDialog = [&](QFileDialog& chooser) {
        note(chooser);
        chooser.reject();
    };
    QTimer::singleShot(0, this, [&] {
        CVarnelDlg* window = mainWindows().value(0);
        QVERIFY(window && window->isVisible());
        main = window->windowHandle();
        note(*window);
        for (const int command : {int(CmdAbout), int(IdBig), int(CmdUninstall), int(IdSave)})
            window->OnCommand(command);
        QVERIFY(window->close());
    });

    QCOMPARE(startApplication(desktop, sockets, random), false);

    QVERIFY(!answerer.timedOut);
    QCOMPARE(seen,
             (QStringList{u"CVarnelDlg ordinary stands alone modal to nothing"_s,
                          u"CAboutDlg dialog belongs to the main window modal"_s,
                          u"CBigViewDlg dialog belongs to the main window modal"_s,
                          u"QMessageBox dialog belongs to the main window modal"_s,
                          u"QFileDialog dialog belongs to the main window modal"_s}));
    QVERIFY(mainWindows().isEmpty());
}

void TestStartup::windowIsFixedWithoutMinimiseOrMaximise()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    QCOMPARE(window.windowTitle(), u"Varnel"_s);
    QVERIFY(window.minimumSize() == window.maximumSize());
    QCOMPARE(window.size(), window.minimumSize());
    const Qt::WindowFlags flags = window.windowFlags();
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    QVERIFY(!window.windowIcon().isNull());
}

void TestStartup::focusStartsOnOk()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    QVERIFY(fixture.activate());
    QCOMPARE(window.focusWidget(), window.control(IdOk));
    QCOMPARE(QApplication::focusWidget(), window.control(IdOk));
}

void TestStartup::enterActsAsOk_data()
{
    QTest::addColumn<int>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("ends");
    QTest::newRow("Return in the Password edit with valid numbers accepts the window")
        << int(IdPassword) << int(Qt::Key_Return) << int(IdPairCount) << u"12"_s << true;
    QTest::newRow("keypad Enter in Number to Generate with valid numbers accepts the window")
        << int(IdPairCount) << int(Qt::Key_Enter) << int(IdPairCount) << u"12"_s << true;
    QTest::newRow("Return on a radio button with valid numbers accepts the window")
        << int(IdAlphabetic) << int(Qt::Key_Return) << int(IdPairCount) << u"12"_s << true;
    QTest::newRow("Return in the list with valid numbers accepts the window")
        << int(IdResultList) << int(Qt::Key_Return) << int(IdPairCount) << u"12"_s << true;
    QTest::newRow("Return with 60 characters prompts and the window stays open")
        << int(IdCharacterCount) << int(Qt::Key_Return) << int(IdCharacterCount) << u"60"_s << false;
    QTest::newRow("Return with Number to Generate emptied prompts and the window stays open")
        << int(IdUsername) << int(Qt::Key_Return) << int(IdPairCount) << QString() << false;
}

void TestStartup::enterActsAsOk()
{
    QFETCH(int, focus);
    QFETCH(int, key);
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(bool, ends);
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    QVERIFY(fixture.activate());
    fixture.type(field, typed);
    QWidget* target = window.control(focus);
    target->setFocus();
    QTest::keyClick(target, Qt::Key(key));

    // The preferences file is written when, and only when, the window ends.
    QCOMPARE(QFile::exists(fixture.path(u"vrn.ini"_s)), ends);
    if (ends) {
        QVERIFY(!window.isVisible());
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QVERIFY(fixture.desktop.messages.isEmpty());
    } else {
        QVERIFY(window.isVisible());
        QCOMPARE(fixture.desktop.oneMessageMismatch(u"Varnel"_s, {}), QString());
        QCOMPARE(QApplication::focusWidget(), window.control(field));
    }
    QCOMPARE(window.resultList().rowCount(), 0);
}

void TestStartup::enterOnGenerateGenerates()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    QWidget* generate = window.control(IdGenerate);
    generate->setFocus();
    QTest::keyClick(generate, Qt::Key_Return);
    QCOMPARE(window.resultList().rowCount(), 1);
    QVERIFY(window.isVisible());

    // Once the focus leaves the button, Enter is OK again.
    QWidget* password = window.control(IdPassword);
    password->setFocus();
    QTest::keyClick(password, Qt::Key_Return);
    QCOMPARE(window.resultList().rowCount(), 1);
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Accepted));
}

void TestStartup::waysToEndTheWindow_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("Escape ends the window without a question") << u"escape"_s;
    QTest::newRow("Escape in the list ends the window without a question") << u"escape in list"_s;
    QTest::newRow("the close box ends the window without a question") << u"close box"_s;
    QTest::newRow("the window menu's Close ends the window without a question") << u"window menu"_s;
}

void TestStartup::waysToEndTheWindow()
{
    QFETCH(QString, way);
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    fixture.click(IdGenerate);
    // Invalid numbers do not hold the window: only OK reads them.
    fixture.type(IdCharacterCount, u"60"_s);

    if (way == u"escape")
        QTest::keyClick(window.control(IdPassword), Qt::Key_Escape);
    else if (way == u"escape in list")
        QTest::keyClick(window.control(IdResultList), Qt::Key_Escape);
    else if (way == u"close box")
        QVERIFY(window.close());
    else
        window.windowMenu()->actions().constFirst()->trigger();

    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Rejected));
    QVERIFY(fixture.desktop.messages.isEmpty());
    QVERIFY(fixture.desktop.questions.isEmpty());
    QVERIFY(QFile::exists(fixture.path(u"vrn.ini"_s)));
}

void TestStartup::windowMenuEndsWithTheAboutItem()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    const QList<QAction*> actions = window.windowMenu()->actions();
    QCOMPARE(actions.size(), 3);
    QCOMPARE(actions[0]->text(), u"&Close"_s);
    QCOMPARE(actions[0]->data().toInt(), 2);
    QVERIFY(actions[1]->isSeparator());
    QCOMPARE(actions[2]->text(), u"&About Varnel..."_s);
    QCOMPARE(actions[2]->data().toInt(), 16);

    actions[2]->trigger();
    QCOMPARE(fixture.desktop.modalDialogs, QStringList{u"CAboutDlg"_s});
    QVERIFY(window.isVisible());
}

void TestStartup::windowMenuOpensFromTheKeyboardAndTheMenuBar_data()
{
    QTest::addColumn<bool>("byKeyboard");
    QTest::newRow("Alt+Space opens the window menu") << true;
    QTest::newRow("a right click on the menu bar opens the window menu") << false;
}

void TestStartup::windowMenuOpensFromTheKeyboardAndTheMenuBar()
{
    QFETCH(bool, byKeyboard);
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    QVERIFY(fixture.activate());
    QVERIFY(!window.windowMenu()->isVisible());
    if (byKeyboard)
        QTest::keyClick(window.control(IdOk), Qt::Key_Space, Qt::AltModifier);
    else
        rightClick(window.menuBar(), QPoint(window.menuBar()->width() - 5, 5));
    QTRY_VERIFY(window.windowMenu()->isVisible());
    window.windowMenu()->hide();
    QVERIFY(window.isVisible());
    QVERIFY(fixture.desktop.modalDialogs.isEmpty());
}

void TestStartup::windowMenuCommandIds_data()
{
    QTest::addColumn<quint32>("id");
    QTest::addColumn<bool>("opensAbout");
    QTest::newRow("id 16, the About item's own, opens the About box") << quint32(16) << true;
    QTest::newRow("id 17 opens the About box: the low four bits are ignored") << quint32(17) << true;
    QTest::newRow("id 31, the last with the About item's high bits, opens the About box") << quint32(31) << true;
    QTest::newRow("id 32 does not open the About box") << quint32(32) << false;
    QTest::newRow("id 15 does not open the About box") << quint32(15) << false;
    QTest::newRow("id 48 does not open the About box") << quint32(48) << false;
}

void TestStartup::windowMenuCommandIds()
{
    QFETCH(quint32, id);
    QFETCH(bool, opensAbout);
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    window.OnWindowMenuCommand(id);
    QCOMPARE(fixture.desktop.modalDialogs, opensAbout ? QStringList{u"CAboutDlg"_s} : QStringList());
    QVERIFY(window.isVisible());
}

void TestStartup::aboutItemsOpenTheAboutBox_data()
{
    QTest::addColumn<bool>("fromHelpMenu");
    QTest::newRow("Help > About opens the About box and returns to the window unchanged") << true;
    QTest::newRow("the window menu's About item opens the About box and returns to the window unchanged") << false;
}

void TestStartup::aboutItemsOpenTheAboutBox()
{
    QFETCH(bool, fromHelpMenu);
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    fixture.click(IdGenerate);
    fixture.type(IdPairCount, u"5"_s);
    const QString password = fixture.edit(IdPassword)->text();
    QString title;
    QStringList texts;
    fixture.desktop.onModal = [&](QDialog& dialog) {
        title = dialog.windowTitle();
        texts = labelTexts(dialog);
        return runAndPressOk(dialog);
    };

    if (fromHelpMenu)
        fixture.triggerMenu(CmdAbout);
    else
        window.windowMenu()->actions().constLast()->trigger();

    QCOMPARE(fixture.desktop.modalDialogs, QStringList{u"CAboutDlg"_s});
    QCOMPARE(title, u"About Varnel"_s);
    QVERIFY(texts.contains(u"Varnel Version 1.01"_s));
    QVERIFY(window.isVisible());
    QCOMPARE(window.resultList().rowCount(), 1);
    QCOMPARE(fixture.edit(IdPassword)->text(), password);
    QCOMPARE(fixture.edit(IdPairCount)->text(), u"5"_s);
    QVERIFY(fixture.desktop.messages.isEmpty());
}

void TestStartup::quitEndsTheProcessWithStatusZero()
{
    WindowFixture fixture;
    const QByteArray before("kept as it was\n");
    createFile(fixture.path(u"vrn.ini"_s), before);
    fixture.open();
    fixture.click(IdToolTips);
    fixture.triggerMenu(CmdQuit);

    QCOMPARE(fixture.desktop.exits, QList<int>{0});
    QCOMPARE(contentOf(fixture.path(u"vrn.ini"_s)), before);
}

void TestStartup::minimisedIconIsCentredTruncatingTowardZero_data()
{
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QPoint>("position");
    QTest::newRow("a client 36 pixels wide puts a 32-pixel icon at x 2") << QSize(36, 36) << QPoint(2, 2);
    QTest::newRow("a client 30 pixels wide puts it at x 0, since -1 / 2 truncates to 0")
        << QSize(30, 30) << QPoint(0, 0);
    QTest::newRow("a client 29 pixels wide puts it at x -1") << QSize(29, 29) << QPoint(-1, -1);
    QTest::newRow("width and height are centred separately") << QSize(100, 29) << QPoint(34, -1);
}

void TestStartup::minimisedIconIsCentredTruncatingTowardZero()
{
    QFETCH(QSize, client);
    QFETCH(QPoint, position);
    QCOMPARE(minimizedIconPosition(client, QSize(32, 32)), position);
}

void TestStartup::iconFilesForTheDesktopEntryAreTheWindowIcon_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("16 by 16, drawn in sixteen colours") << 16;
    QTest::newRow("32 by 32, drawn in sixteen colours") << 32;
    QTest::newRow("48 by 48, rendered from the scalable padlock") << 48;
    QTest::newRow("64 by 64, rendered from the scalable padlock") << 64;
    QTest::newRow("128 by 128, rendered from the scalable padlock") << 128;
    QTest::newRow("256 by 256, rendered from the scalable padlock") << 256;
}

void TestStartup::iconFilesForTheDesktopEntryAreTheWindowIcon()
{
    QFETCH(int, size);
    const QString iconDir =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(VARNEL_ICON_DIR_FROM_TEST));
    const QString path = u"%1/%2x%2/apps/varnel.png"_s.arg(iconDir).arg(size);
    QImage file(path);
    QVERIFY2(!file.isNull(), qPrintable(path));
    QCOMPARE(file.size(), QSize(size, size));
    // The window shows this very image at this size: nothing is scaled up from a smaller one.
    const QImage shown = appIcon().pixmap(QSize(size, size)).toImage();
    QCOMPARE(shown.convertToFormat(QImage::Format_ARGB32_Premultiplied),
             file.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    QCOMPARE(qAlpha(file.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(file.pixel(size / 2, size - size / 10)), 255);
}

void TestStartup::aboutBoxShowsItsTexts()
{
    CAboutDlg about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QCOMPARE(about.windowTitle(), u"About Varnel"_s);
    const QStringList texts = labelTexts(about);
    QVERIFY(texts.contains(u"Varnel Version 1.01"_s));
    QVERIFY(texts.contains(QString::fromLatin1(AboutNoticeFirstLine)));
    QVERIFY(texts.contains(QString::fromLatin1(AboutNoticeSecondLine)));
    const QList<QPushButton*> buttons = about.findChildren<QPushButton*>();
    QCOMPARE(buttons.size(), 1);
    QCOMPARE(buttons[0]->text(), u"OK"_s);
    QVERIFY(buttons[0]->isDefault());
    QVERIFY(about.minimumSize() == about.maximumSize());
    // Every text fits its label: nothing of the notice is cut off.
    for (const QLabel* label : about.findChildren<QLabel*>()) {
        if (!label->text().isEmpty())
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
    }
}

void TestStartup::aboutBoxCloses_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("OK closes the About box") << u"ok"_s;
    QTest::newRow("Escape closes the About box") << u"escape"_s;
    QTest::newRow("the close box closes the About box") << u"close box"_s;
}

void TestStartup::aboutBoxCloses()
{
    QFETCH(QString, way);
    CAboutDlg about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    if (way == u"ok")
        QTest::mouseClick(about.findChild<QPushButton*>(), Qt::LeftButton);
    else if (way == u"escape")
        QTest::keyClick(&about, Qt::Key_Escape);
    else
        QVERIFY(about.close());
    QVERIFY(!about.isVisible());
    QCOMPARE(about.result(), way == u"ok" ? int(QDialog::Accepted) : int(QDialog::Rejected));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
