#include "LayoutFaults.h"
#include "ModalAnswerer.h"
#include "WindowFixture.h"
#include "resources/Layouts.h"
#include "resources/Menu.h"

#include <QMessageBox>
#include <QScreen>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
// What a window showed: where it stood against the screen, and what of it was cut off or covered.
QStringList faultsOnScreen(const QWidget& window)
{
    QStringList faults = layoutFaults(window);
    const QRect screen = window.screen()->availableGeometry();
    if (!screen.contains(window.frameGeometry())) {
        faults.append(u"%1 at %2,%3 %4x%5 leaves the screen"_s.arg(window.windowTitle())
                          .arg(window.frameGeometry().x())
                          .arg(window.frameGeometry().y())
                          .arg(window.frameGeometry().width())
                          .arg(window.frameGeometry().height()));
    }
    return faults;
}
} // namespace

// The windows on a 1920 x 1080 screen at twice the size: each opens wholly on the screen, nothing cut off.
class TestHiDpi : public QObject
{
    Q_OBJECT

private slots:
    void theScreenIsTwiceTheSize();
    void everyWindowOpensWhollyOnScreen_data();
    void everyWindowOpensWhollyOnScreen();
};

void TestHiDpi::theScreenIsTwiceTheSize()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    QCOMPARE(screen->devicePixelRatio(), 2.0);
    QCOMPARE(screen->geometry(), QRect(0, 0, 960, 540));
}

void TestHiDpi::everyWindowOpensWhollyOnScreen_data()
{
    QTest::addColumn<int>("command");
    QTest::newRow("the main window") << 0;
    QTest::newRow("the About box") << int(CmdAbout);
    QTest::newRow("the large-print view") << int(IdBig);
    QTest::newRow("a message box") << int(CmdUninstall);
}

void TestHiDpi::everyWindowOpensWhollyOnScreen()
{
    QFETCH(int, command);
    WindowFixture fixture;
    QtDesktop desktop;
    CVarnelDlg& window = fixture.openWith(desktop);
    if (command == 0) {
        QCOMPARE(faultsOnScreen(window), QStringList());
        return;
    }

    QStringList faults;
    ModalAnswerer answerer;
    answerer.onDialog = [&](QDialog& dialog) {
        faults = faultsOnScreen(dialog);
        dialog.reject();
    };
    answerer.onMessageBox = [&](QMessageBox& box) {
        faults = faultsOnScreen(box);
        box.accept();
    };
    window.OnCommand(command);

    QCOMPARE(answerer.seen.size(), 1);
    QCOMPARE(faults, QStringList());
}

int main(int argc, char** argv)
{
    // The offscreen platform takes its screens from a file named in its arguments.
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    const QString screens = dir.filePath(u"screens.json"_s);
    QFile file(screens);
    if (!file.open(QIODevice::WriteOnly)
        || !file.write(R"({"screens": [{"name": "HiDPI", "x": 0, "y": 0, "width": 1920, "height": 1080,
                        "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})"))
        return 1;
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screens));
    qputenv("QT_SCALE_FACTOR", "2");

    QApplication app(argc, argv);
    TestHiDpi test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hidpi.moc"
