#pragma once

#include "linesplitter.h"
#include "templateline.h"

#include <QByteArray>
#include <QList>

namespace jukora::test {

/// A template whose second line is long in one of the parts a line has,
/// and what Generate writes of it with the start layout (empty when the
/// line is more than a placeholder line may keep, and Generate refuses).
struct LongLineCase
{
    QByteArray name;
    QByteArray templ;
    QByteArray patch;
};

/// The cases, at line lengths around and far past the length up to which
/// a line is held whole, and around the limit of what a placeholder line
/// keeps.
inline QList<LongLineCase> longLineCases()
{
    const QByteArray head = "*cx*1A0: 6B21 6B21;x\r\n", headOut = "1A0: 6B21 0721;x\r\n";
    const QByteArray tail = "\r\n*ay*9: 00 00;last", tailOut = "\r\n9: 00 9F;last\r\n";
    // A line of exactly `length` bytes: `before`, filler, `after`.
    const auto line = [](qsizetype length, const QByteArray &before, const QByteArray &after,
                         char fill) {
        return before + QByteArray(length - before.size() - after.size(), fill) + after;
    };
    struct Form
    {
        const char *part;
        QByteArray before, after, beforeOut, afterOut; // the line, and the patch line
        char fill;
        bool copied = true; ///< the filler reaches the patch
    };
    const QList<Form> forms{
        {"plain", ";", "", ";", "", 'p'},
        {"comment", "*tx*3: 0032 0032;", "", "3: 0032 2332;", "", 'c'},
        {"after the second ;", "*ty*4: 00 00;t;", "", "4: 00 B5;t", "", 'z', false},
        {"old value", "*aly*6: ", " 00;o", "6: ", " CF;o", 'A'},
        {"dropped new value", "*ta*5: 00 ", ";n", "5: 00 00;n", "", 'F', false},
        {"address", "*alx*", ": 0037 0037;a", "", ": 0037 2337;a", '0'},
    };
    const auto whole = qsizetype(patch::kWholeLineBytes);
    QList<LongLineCase> cases;
    for (const Form &form : forms) {
        for (qsizetype length : {whole, whole + 1, qsizetype(100000)}) {
            const QByteArray text = line(length, form.before, form.after, form.fill);
            const qsizetype filler = length - form.before.size() - form.after.size();
            const QByteArray out = form.beforeOut +
                                   (form.copied ? QByteArray(filler, form.fill) : QByteArray()) +
                                   form.afterOut;
            cases.append({QByteArray(form.part) + ", " + QByteArray::number(length),
                          head + text + tail, headOut + out + tailOut});
        }
    }
    // No limit for a line copied through; the limit of what a placeholder
    // line keeps (field 0 "*tx*3:", the old value 0032 and the comment) on its
    // boundary.
    const auto big = qsizetype(16 * 1024 * 1024);
    const QByteArray plain = line(big + 1, ";", "", 'p');
    cases.append({"plain, 16 MiB + 1", head + plain + tail, headOut + plain + tailOut});
    const auto held = qsizetype(patch::kMaxHeldBytes);
    const QByteArray kept = QByteArray(held - 10, 'c');
    cases.append({"comment keeping the most a line may", head + "*tx*3: 0032 0032;" + kept + tail,
                  headOut + "3: 0032 2332;" + kept + tailOut});
    cases.append({"comment keeping a byte more", head + "*tx*3: 0032 0032;" + kept + 'c' + tail,
                  QByteArray()});
    return cases;
}

} // namespace jukora::test
