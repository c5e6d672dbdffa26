#pragma once

#include "files.h"
#include "patchgenerator.h"
#include "templatereader.h"

#include <QFile>
#include <QSaveFile>
#include <QString>

#include <functional>
#include <memory>
#include <string>

namespace jukora::patch {

/// Reads the open template `file` in chunks and hands each of its lines,
/// of any length, to `sink`. Returns false and sets `error` to the system's
/// reason when it cannot be read, or when `afterChunk` (given the bytes
/// read so far) returns false.
bool readTemplate(QFile &file, TemplateSink &sink, QString *error,
                  const std::function<bool(qint64)> &afterChunk = {});

/// The same for the regular file at `path`, opened as openForReading does.
bool readTemplate(const QString &path, TemplateSink &sink, QString *error);

/// Turns a template into a patch in one pass, all or nothing: the patch goes
/// to a temporary file beside the target while every line is checked, and it
/// replaces the target only on commit(). Until then, and after discard() or
/// any failure, a file at the target path is exactly as it was.
class PatchFileWriter : private PatchOutput
{
public:
    PatchFileWriter(const QString &patchPath, const ElementQuery &query);
    ~PatchFileWriter();

    /// Reads the whole template once. False when it cannot be read, with
    /// `error` saying why. A failure to write does not stop the run, since
    /// the check goes on to the end either way: written() tells.
    bool run(const QString &templatePath, QString *error);

    /// Called after each piece of the template with the bytes read so far
    /// and the template's size; returning false stops the run (cancelled()).
    void setProgress(std::function<bool(qint64 done, qint64 total)> progress)
    {
        m_progress = std::move(progress);
    }
    bool cancelled() const { return m_cancelled; }

    const TemplateCheck &check() const { return m_run.check; }
    /// True when the whole patch reached the temporary file; otherwise
    /// `error` says why.
    bool written(QString *error) const;

    /// Replaces the target with the patch. False on failure, with `error`
    /// saying why; the target is then as it was.
    bool commit(QString *error);
    void discard();

private:
    void write(std::string_view bytes) override;
    void takeBack(std::uint64_t bytes) override;

    PatchRun m_run;
    std::unique_ptr<QSaveFile> m_file;
    qint64 m_written = 0; ///< bytes in the temporary file
    QString m_writeError;
    std::function<bool(qint64, qint64)> m_progress;
    bool m_cancelled = false;
};

} // namespace jukora::patch
