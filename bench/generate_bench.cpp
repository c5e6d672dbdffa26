// Times a Generate over a synthetic 1,000,000-line template against copying
// the same file with cp, in the same run. Usage: generate_bench [lines]
// With --template FILE it only writes its template of `lines` lines there
// (bench/generate_process.sh times the whole program on it).
#include "elementquery.h"
#include "patchfile.h"
#include "placeholderrules.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
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

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 1000000;
    if (argc == 4 && std::strcmp(argv[2], "--template") == 0) {
        QFile file(QString::fromLocal8Bit(argv[3]));
        return file.open(QIODevice::WriteOnly) && file.write(syntheticTemplate(lines)) >= 0 ? 0 : 1;
    }
    QTemporaryDir dir;
    const QString templ = dir.filePath(QStringLiteral("template.txt"));
    {
        QFile file(templ);
        if (!file.open(QIODevice::WriteOnly) || file.write(syntheticTemplate(lines)) < 0)
            return 1;
    }
    const QString copy = dir.filePath(QStringLiteral("copy.txt"));
    const QString patch = dir.filePath(QStringLiteral("patch.vkp"));
    DefaultLayout layout;
    std::vector<double> cpTimes, genTimes, commitTimes;
    for (int run = 0; run < 7; ++run) {
        QElapsedTimer timer;
        timer.start();
        if (QProcess::execute(QStringLiteral("cp"), {templ, copy}) != 0)
            return 1;
        cpTimes.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);

        timer.restart();
        {
            jukora::patch::PatchFileWriter writer(patch, layout);
            QString error;
            const bool ran = writer.run(templ, &error) && writer.check().canWrite();
            QElapsedTimer commitTimer;
            commitTimer.start();
            if (!ran || !writer.commit(&error)) {
                std::fprintf(stderr, "generate failed: %s\n", qPrintable(error));
                return 1;
            }
            commitTimes.push_back(static_cast<double>(commitTimer.nsecsElapsed()) / 1e6);
        }
        genTimes.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    const double cp = median(cpTimes);
    const double gen = median(genTimes);
    std::printf("template: %d lines, %lld bytes\n", lines,
                static_cast<long long>(QFileInfo(templ).size()));
    std::printf("cp:       %8.1f ms (median of 7)\n", cp);
    std::printf("generate: %8.1f ms (median of 7, one pass: check and write)\n", gen);
    std::printf("  of it the commit: %.1f ms (sync to disk, then rename over the target)\n",
                median(commitTimes));
    std::printf("ratio:    %8.2f x the copy (wall; the whole process against its targets:\n"
                "          bench/generate_process.sh)\n",
                gen / cp);
    return 0;
}
