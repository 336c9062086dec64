#include "os/InputDevice.h"
#include "os/OutputDevice.h"

#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <thread>

class TestDevices : public QObject
{
    Q_OBJECT
    static void interrupted(int) { }
    FileDescriptor readEnd_, writeEnd_;

private slots:
    // A second thread at the pipe's far end signals this one at each step, cutting short every wait, as a timer would.
    void init()
    {
        struct sigaction interrupt = {};
        interrupt.sa_handler = interrupted;
        int ends[2];
        QCOMPARE(::sigaction(SIGUSR1, &interrupt, nullptr) | ::pipe2(ends, O_CLOEXEC), 0);
        readEnd_.reset(ends[0]);
        writeEnd_.reset(ends[1]);
    }
    // A device that waited for a whole chunk would get the second part too, sent only once the first was read.
    void readsWhatHasArrived()
    {
        InputDevice device(QStringLiteral("/dev/fd/%1").arg(readEnd_.get()));
        QAtomicInteger<bool> read = false;
        ssize_t sent = 0;
        std::thread writer([&, reader = pthread_self()] {
            for (int step = 0; step < 5000 && !read.loadRelaxed(); ++step) {
                sent += step == 50 ? ::write(writeEnd_.get(), "ab", 2) : 0;
                pthread_kill(reader, SIGUSR1);
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            sent += ::write(writeEnd_.get(), "cd", 2);
            writeEnd_.reset();
        });
        const QByteArray got = device.read(64);
        read.storeRelaxed(true);
        writer.join();
        QCOMPARE(sent, 4);
        QCOMPARE(got, QByteArray("ab"));
    }
    void writesAllOrSaysWhy_data()
    {
        QTest::addColumn<QString>("reason");
        QTest::newRow("a pipe that fills takes every byte, however often signals cut the writes short") << QString();
        QTest::newRow("a full disk is told with its reason") << QStringLiteral("No space left on device");
    }
    void writesAllOrSaysWhy()
    {
        QFETCH(QString, reason);
        FileDescriptor disk(::open("/dev/full", O_WRONLY | O_CLOEXEC));
        OutputDevice device(reason.isEmpty() ? writeEnd_.get() : disk.get());
        const QByteArray bytes(1 << 20, 'x');
        QByteArray received;
        std::thread reader([&, writer = pthread_self()] {
            char chunk[4096];
            ssize_t got = 0;
            do {
                received.append(chunk, got);
                for (int i = 0; i < 2; ++i, std::this_thread::sleep_for(std::chrono::microseconds(20)))
                    pthread_kill(writer, SIGUSR1);
            } while ((got = ::read(readEnd_.get(), chunk, sizeof chunk)) > 0);
        });
        const qint64 written = device.write(bytes);
        writeEnd_.reset();
        reader.join();
        QCOMPARE(received, reason.isEmpty() ? bytes : QByteArray());
        QCOMPARE(written < 0 ? device.errorString() : QString(), reason);
    }
};

QTEST_GUILESS_MAIN(TestDevices)
#include "tst_devices.moc"
