// Generate inside the program, on a real template: the median time of a
// whole run (read, check, write, commit) in microseconds, against a plain
// Qt program's save of the same bytes with QSaveFile in the same run.
// Usage: generate_bench TEMPLATE [runs]
// With --template FILE LINES it writes a synthetic template of LINES lines
// shaped like the samples instead (bench/generate_guard.sh times the whole
// program on one of a million lines).
#include "elementquery.h"
#include "patchfile.h"
#include "placeholderrules.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSaveFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

struct DefaultLayout : jukora::patch::ElementQuery
{
    float left(int index) const override { return 8.0f + static_cast<float>(index) * 11; }
    float top(int index) const override { return 30.0f + static_cast<float>(index) * 17; }
    float coverWidth() const override { return 150; }
    int alignment(int index) const override { return index % 3; }
};

QByteArray syntheticTemplate(int lines)
{
    // Shaped like the sample templates: seven lines in ten carry a
    // placeholder, all 34 in turn; the others are comments with 8-bit bytes,
    // pragmas, offset lines and plain patch lines, all ending in CR LF.
    QByteArray out;
    out.reserve(static_cast<qsizetype>(lines) * 36);
    char buffer[128];
    for (int i = 0; i < lines; ++i) {
        int n;
        const int k = i % 10;
        const auto byte = static_cast<unsigned>(i & 0xFF);
        if (k < 7) {
            const auto &rule = jukora::patch::kRules[static_cast<std::size_t>(i) % 34];
            n = std::snprintf(buffer, sizeof buffer, "%.*s%06X: %02X20 %02X20 ;element \xe4 %d\r\n",
                              static_cast<int>(rule.placeholder.size()), rule.placeholder.data(),
                              i & 0xFFFFFF, byte, byte, i);
        } else if (k == 7) {
            n = std::snprintf(buffer, sizeof buffer, ";comment \xe9t\xe9 %d\r\n", i);
        } else if (k == 8) {
            n = std::snprintf(buffer, sizeof buffer, "%s\r\n",
                              i % 20 == 8 ? "#pragma enable old_equal_ff" : "+A0000000");
        } else {
            n = std::snprintf(buffer, sizeof buffer, "%06X: %02X %02X\r\n", i & 0xFFFFFF, byte,
                              (i * 7) & 0xFF);
        }
        out.append(buffer, n);
    }
    return out;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double microseconds(const QElapsedTimer &timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e3;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], "--template") == 0) {
        QFile file(QString::fromLocal8Bit(argv[2]));
        return file.open(QIODevice::WriteOnly) &&
                       file.write(syntheticTemplate(std::atoi(argv[3]))) >= 0
                   ? 0
                   : 1;
    }
    if (argc < 2) {
        std::fprintf(stderr, "usage: generate_bench TEMPLATE [runs]\n");
        return 2;
    }
    const QString templ = QString::fromLocal8Bit(argv[1]);
    const int runs = argc > 2 ? std::atoi(argv[2]) : 200;
    QFile source(templ);
    if (!source.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray bytes = source.readAll();
    QTemporaryDir dir;
    const QString patch = dir.filePath(QStringLiteral("patch.vkp"));
    const QString copy = dir.filePath(QStringLiteral("copy.txt"));
    DefaultLayout layout;
    std::vector<double> generateTimes, saveTimes;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        {
            jukora::patch::PatchFileWriter writer(patch, layout);
            QString error;
            if (!writer.run(templ, &error) || writer.check().malformedCount() != 0 ||
                !writer.commit(&error)) {
                std::fprintf(stderr, "generate failed: %s\n", qPrintable(error));
                return 1;
            }
        }
        generateTimes.push_back(microseconds(timer));

        timer.restart();
        {
            QFile in(templ);
            QSaveFile out(copy);
            if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly) ||
                out.write(in.readAll()) < 0 || !out.commit())
                return 1;
        }
        saveTimes.push_back(microseconds(timer));
    }
    std::printf("template: %s, %lld bytes\n", argv[1], static_cast<long long>(bytes.size()));
    std::printf("generate:              %8.0f us (median of %d)\n", median(generateTimes), runs);
    std::printf("QSaveFile of the same: %8.0f us\n", median(saveTimes));
    std::printf("ratio:                 %8.2fx\n", median(generateTimes) / median(saveTimes));
    return 0;
}
