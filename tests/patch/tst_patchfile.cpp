#include "fakequery.h"
#include "patchfile.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace jukora;

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

bool runWrite(const QString &templ, const QString &target, const test::FakeQuery &query,
              QString *error)
{
    patch::PatchFileWriter writer(target, query, 0);
    if (!writer.run(templ)) {
        *error = writer.templateError();
        return false;
    }
    if (!writer.check().canWrite()) {
        *error = QStringLiteral("template not writable");
        return false;
    }
    const bool ok = writer.commit();
    *error = writer.writeError();
    return ok;
}

} // namespace

class TestPatchFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void writesWholePatch();
    void longLinesAndChunkBoundaries();
    void readOnlyFolderKeepsOldFile();
    void discardedRunLeavesNoTrace();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    test::FakeQuery m_query;
};

void TestPatchFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_query = {};
    m_query.lefts[7] = 42;
}

void TestPatchFile::writesWholePatch()
{
    const QString templ = m_dir->filePath(QStringLiteral("t.txt"));
    const QString target = m_dir->filePath(QStringLiteral("out.vkp"));
    writeFile(templ, "; head\xE4\r\n*cx*1A: 07 07 ;x\nlast");
    writeFile(target, "old content that is longer than the new patch, to see it replaced");
    QString error;
    QVERIFY2(runWrite(templ, target, m_query, &error), qPrintable(error));
    QCOMPARE(readFile(target), QByteArray("; head\xE4\r\n1A: 07 2A21;x\r\nlast\r\n"));
    // Nothing but the patch is left in the folder.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), 2);
}

void TestPatchFile::longLinesAndChunkBoundaries()
{
    // Lines longer than the read chunk, and terminators straddling chunks.
    QByteArray templ;
    QByteArray expected;
    const QByteArray longPlain(200000, 'x');
    for (int i = 0; i < 3; ++i) {
        templ += longPlain + "\r";
        expected += longPlain + "\r\n";
        templ += "*cx*" + QByteArray(70000, 'A') + ": 00 00;c\r\n";
        expected += QByteArray(70000, 'A') + ": 00 2A21;c\r\n";
    }
    for (int i = 0; i < 40000; ++i) {
        templ += "y\r\n";
        expected += "y\r\n";
    }
    const QString templPath = m_dir->filePath(QStringLiteral("long.txt"));
    const QString target = m_dir->filePath(QStringLiteral("long.vkp"));
    writeFile(templPath, templ);
    QString error;
    QVERIFY2(runWrite(templPath, target, m_query, &error), qPrintable(error));
    QCOMPARE(readFile(target), expected);
}

void TestPatchFile::readOnlyFolderKeepsOldFile()
{
    if (::geteuid() == 0)
        QSKIP("root writes into read-only folders");
    const QString templ = m_dir->filePath(QStringLiteral("t.txt"));
    writeFile(templ, "plain\r\n");
    QDir(m_dir->path()).mkdir(QStringLiteral("ro"));
    const QString folder = m_dir->filePath(QStringLiteral("ro"));
    const QString target = folder + QStringLiteral("/p.vkp");
    writeFile(target, "precious");
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    QString error;
    const bool ok = runWrite(templ, target, m_query, &error);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(!ok);
    QVERIFY(!error.isEmpty());
    QCOMPARE(readFile(target), QByteArray("precious"));
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("p.vkp")});
}

void TestPatchFile::discardedRunLeavesNoTrace()
{
    const QString templ = m_dir->filePath(QStringLiteral("t.txt"));
    writeFile(templ, "plain\r\n*cx*12:0707;nospace\r\nmore\r\n");
    const QString target = m_dir->filePath(QStringLiteral("p.vkp"));
    writeFile(target, "precious");
    {
        patch::PatchFileWriter writer(target, m_query, 0);
        QVERIFY(writer.run(templ));
        QCOMPARE(writer.check().malformedCount(), std::size_t(1));
        QCOMPARE(writer.check().malformed().front().lineNumber, std::size_t(2));
        // Nothing is committed: the writer goes away with its temporary file.
    }
    QCOMPARE(readFile(target), QByteArray("precious"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden).size(), 2);

    patch::PatchFileWriter writer(target, m_query, 0);
    QVERIFY(writer.run(templ));
    writer.discard();
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

QTEST_GUILESS_MAIN(TestPatchFile)
#include "tst_patchfile.moc"
