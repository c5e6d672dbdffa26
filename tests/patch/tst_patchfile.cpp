#include "layout.h"
#include "patchfile.h"
#include "testfiles.h"

#include <QtTest>

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace jukora;
using test::readFile;
using test::writeFile;

class TestPatchFile : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_layout.left[7] = 42;
    }
    void writes_data()
    {
        QTest::addColumn<QByteArray>("templ");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("bytes and line ends")
            << QByteArray("; head\xE4\r\n*cx*1A: 07 07 ;x\nlast")
            << QByteArray("; head\xE4\r\n1A: 07 2A21;x\r\nlast\r\n");
        // Lines longer than the read chunk, and terminators straddling chunks.
        QByteArray templ, expected;
        for (int i = 0; i < 3; ++i) {
            templ +=
                QByteArray(200000, 'x') + "\r" + "*cx*" + QByteArray(70000, 'A') + ": 00 00;c\r\n";
            expected +=
                QByteArray(200000, 'x') + "\r\n" + QByteArray(70000, 'A') + ": 00 2A21;c\r\n";
        }
        QTest::newRow("long lines, many chunks")
            << templ + QByteArray(120000, '\n')
            << expected + QByteArray(120000, '\n').replace("\n", "\r\n");
    }
    void writes()
    {
        QFETCH(QByteArray, templ);
        QFETCH(QByteArray, expected);
        const QString templPath = m_dir->filePath(QStringLiteral("t.txt"));
        const QString target = m_dir->filePath(QStringLiteral("out.vkp"));
        writeFile(templPath, templ);
        writeFile(target, "old content, to see it replaced");
        QString error;
        QVERIFY2(write(templPath, target, &error), qPrintable(error));
        QCOMPARE(readFile(target), expected);
        // Nothing but the template and the patch is left in the folder.
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }
    void specialFilesAreNeverOpenedOrReplaced_data()
    {
        QTest::addColumn<bool>("asTemplate");
        QTest::addColumn<bool>("device"); // else a named pipe, which nobody writes to
        QTest::addColumn<QString>("says");
        QTest::newRow("pipe as template") << true << false << "It is a named pipe (FIFO)";
        QTest::newRow("pipe as target") << false << false << "It is a named pipe (FIFO)";
        QTest::newRow("device as target") << false << true << "It is a character device";
    }
    void specialFilesAreNeverOpenedOrReplaced()
    {
        QFETCH(bool, asTemplate);
        QFETCH(bool, device);
        QFETCH(QString, says);
        const QByteArray special = QFile::encodeName(m_dir->filePath("special"));
        // A copy of the full-disk device (1, 7), made here, never the real one.
        if (device && ::mknod(special.constData(), S_IFCHR | 0600, makedev(1, 7)) != 0)
            QSKIP("making a device node needs root; the pipe cases cover the same path");
        if (!device)
            QCOMPARE(::mkfifo(special.constData(), 0600), 0);
        const QString templ = m_dir->filePath("t.txt");
        writeFile(templ, "plain\r\n");
        QString error;
        QVERIFY(!write(asTemplate ? QString::fromLocal8Bit(special) : templ,
                       asTemplate ? m_dir->filePath("p.vkp") : QString::fromLocal8Bit(special),
                       &error));
        QVERIFY2(error.startsWith(says), qPrintable(error));
        struct stat st;
        QCOMPARE(::stat(special.constData(), &st), 0);
        QVERIFY(device ? S_ISCHR(st.st_mode) : S_ISFIFO(st.st_mode));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::System).size(), 2);
    }
    void diskFillingPartWaySaysWhy()
    {
        // A file size limit stands in for a disk that fills part way: the first
        // write past it is cut short, the next one fails with the reason.
        const QString templ = m_dir->filePath("t.txt");
        writeFile(templ, QByteArray("a plain line of the template\r\n").repeated(20000));
        const QString target = m_dir->filePath("p.vkp");
        writeFile(target, "precious");
        rlimit old;
        ::getrlimit(RLIMIT_FSIZE, &old);
        rlimit small = old;
        small.rlim_cur = 100000;
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, &small);
        QString error;
        const bool ok = write(templ, target, &error);
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        QVERIFY(!ok);
        QCOMPARE(error, QString::fromLocal8Bit(std::strerror(EFBIG)));
        QCOMPARE(readFile(target), QByteArray("precious"));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }

private:
    /// Runs the template at `templ` into `target`; false with `error` set
    /// when it was not written.
    bool write(const QString &templ, const QString &target, QString *error)
    {
        patch::PatchFileWriter writer(target, m_query, 0);
        return writer.run(templ, error) && writer.check().canWrite() && writer.commit(error);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    patch::Layout m_layout;
    patch::LayoutQuery m_query{m_layout};
};

QTEST_GUILESS_MAIN(TestPatchFile)
#include "tst_patchfile.moc"
