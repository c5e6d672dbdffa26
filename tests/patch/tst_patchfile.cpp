#include "layout.h"
#include "layoutfile.h"
#include "patchfile.h"
#include "templatelist.h"
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
        m_layout.left[patch::AlbumCover] = 42;
    }
    void writes()
    {
        // Bytes and line ends as they are, a last line without its end.
        const QByteArray templ("; head\xE4\r\n*cx*1A: 07 07 ;x\nlast");
        const QByteArray expected("; head\xE4\r\n1A: 07 2A21;x\r\nlast\r\n");
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
        QCOMPARE(error, QString::fromLocal8Bit(std::strerror(EFBIG)) + u'.');
        QCOMPARE(readFile(target), QByteArray("precious"));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }

    void fileTooLargeOrSpecial()
    {
        test::ProgramFolder folder({{QStringLiteral("m"), "*cx*A: 00 00;x\r\n"}});
        QFile huge(folder.file(QStringLiteral("huge.vkp")));
        QVERIFY(huge.open(QIODevice::WriteOnly));
        QVERIFY(huge.resize(patch::kMaxPatchBytes + 1)); // sparse: costs no disk
        huge.close();
        const auto found = patch::reopenPatch(huge.fileName(), {{"m", folder.templ("m")}}, 0);
        QVERIFY(!found.layout && !found.mismatch && found.fits.isEmpty());
        QVERIFY_CONTAINS(found.why, QStringLiteral("at most 64 MB"));
    }
    void listing_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QStringList>("models");
        QTest::newRow("sorted without case")
            << QStringList{"beta.txt", "Alpha.txt", "gamma.txt"} << QStringList{}
            << QStringList{"Alpha", "beta", "gamma"};
        QTest::newRow("upper-case extension")
            << QStringList{"Phone.TXT", "b.Txt"} << QStringList{} << QStringList{"b", "Phone"};
        QTest::newRow("other names left out")
            << QStringList{"notes.txt.bak", "readme.txt", "txt", "a.text", "x.vkp"} << QStringList{}
            << QStringList{"readme"};
        QTest::newRow("folders and hidden files left out")
            << QStringList{".hidden.txt", ".txt", "k.txt"} << QStringList{"x.txt", "sub"}
            << QStringList{"k"};
        // Names that differ only in case come in one fixed order, each with its
        // own file.
        QTest::newRow("same name, other case")
            << QStringList{"phone.txt", "PHONE.txt", "Phone.txt"} << QStringList{}
            << QStringList{"PHONE", "Phone", "phone"};
    }
    void listing()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, folders);
        QFETCH(QStringList, models);
        QTemporaryDir dir;
        for (const QString &name : files)
            test::writeFile(dir.filePath(name), name.toUtf8());
        for (const QString &name : folders)
            QVERIFY(QDir(dir.path()).mkdir(name));
        QString error;
        const auto listed = listTemplates({dir.path()}, &error);
        QVERIFY2(listed, qPrintable(error));
        QStringList got;
        for (const TemplateEntry &entry : *listed) {
            got << entry.model;
            QCOMPARE(test::readFile(entry.path), QFileInfo(entry.path).fileName().toUtf8());
        }
        QCOMPARE(got, models);
    }
    void userFolderWinsOverSystemOverProgram()
    {
        QTemporaryDir root;
        qputenv("XDG_DATA_HOME", QFile::encodeName(root.filePath("home")));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(root.filePath("sys")));
        QCoreApplication::setApplicationName(QString::fromLatin1(kApplicationName));
        QStringList folders = templateFolders();
        QCOMPARE(folders.mid(0, 2), QStringList({root.filePath("home/jukora-patch-editor/DB"),
                                                 root.filePath("sys/jukora-patch-editor/DB")}));
        QCOMPARE(folders.last(), QCoreApplication::applicationDirPath() + "/DB");
        folders.last() = root.filePath("program/DB");
        for (const QString &folder : folders)
            QVERIFY(QDir().mkpath(folder));
        QString error;
        QVERIFY(!listTemplates(folders, &error));
        const auto list = [&] {
            QStringList got;
            for (const TemplateEntry &entry :
                 listTemplates(folders, &error).value_or(QList<TemplateEntry>()))
                got << entry.model + '=' + test::readFile(entry.path);
            return got;
        };
        for (const char *file : {"2/both", "2/a", "1/both", "1/Both"})
            test::writeFile(folders[file[0] - '0'] + (file + 1) + ".txt",
                            file[0] == '2' ? "program" : "system");
        QCOMPARE(list(), QStringList({"a=program", "Both=system", "both=system"}));
        test::writeFile(folders[0] + "/both.txt", "user");
        QCOMPARE(list(), QStringList({"a=program", "Both=system", "both=user"}));
    }

    void foldersThatCannotHoldTemplatesAreNamed()
    {
        // A file where the user's folder should be: named, and the advice goes
        // to the next folder the templates could be put in.
        QTemporaryDir root;
        test::writeFile(root.filePath("home"), "a file where a folder should be");
        // A folder that cannot be read (a link to itself, which stops root too),
        // and a relative folder that does not exist.
        const QStringList folders{root.filePath("home/jukora-patch-editor/DB"),
                                  root.filePath("sys/DB"), root.filePath("loop"),
                                  QStringLiteral("no-such-folder/DB")};
        QVERIFY(QFile::link(folders[2], folders[2]));
        QString error;
        QVERIFY(!listTemplates(folders, &error));
        QVERIFY_CONTAINS(error, folders[2] + " (cannot be read: ");
        QVERIFY_CONTAINS(error,
                         folders[0] + " (" + root.filePath("home") + " is a file, not a folder)\n");
        QVERIFY_CONTAINS(error, "in " + folders[1] + " and start");
        QVERIFY_CONTAINS(error, folders[3]);
    }

private:
    /// Runs the template at `templ` into `target`; false with `error` set
    /// when it was not written.
    bool write(const QString &templ, const QString &target, QString *error)
    {
        patch::PatchFileWriter writer(target, m_query);
        return writer.run(templ, error) && writer.check().malformedCount() == 0 &&
               !writer.check().badCoverWidth() && writer.commit(error);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    patch::Layout m_layout;
    patch::LayoutQuery m_query{m_layout};
};

QTEST_GUILESS_MAIN(TestPatchFile)
#include "tst_patchfile.moc"
