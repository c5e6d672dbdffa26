#include "patchfile.h"

namespace jukora::patch {

bool readTemplate(QFile &file, TemplateSink &sink, QString *error,
                  const std::function<bool(qint64)> &afterChunk)
{
    TemplateReader reader(sink);
    QByteArray chunk(1 << 18, Qt::Uninitialized);
    for (;;) {
        const qint64 got = file.read(chunk.data(), chunk.size());
        if (got < 0) {
            *error = sentence(file.errorString());
            return false;
        }
        if (got == 0)
            break;
        reader.feed(std::string_view(chunk.constData(), static_cast<std::size_t>(got)));
        if (afterChunk && !afterChunk(file.pos()))
            return false;
    }
    reader.finish();
    return true;
}

bool readTemplate(const QString &path, TemplateSink &sink, QString *error)
{
    QFile file(path);
    return openForReading(file, error, QIODevice::ReadOnly | QIODevice::Unbuffered) &&
           readTemplate(file, sink, error);
}

PatchFileWriter::PatchFileWriter(const QString &patchPath, const ElementQuery &query)
    : m_run(query, this), m_file(std::make_unique<QSaveFile>(patchPath))
{
}

PatchFileWriter::~PatchFileWriter()
{
    discard();
}

void PatchFileWriter::write(std::string_view bytes)
{
    // A disk that fills part way takes only part of a write, and says so
    // (with the system's reason) only on the next one.
    const char *data = bytes.data();
    auto left = static_cast<qint64>(bytes.size());
    while (m_writeError.isEmpty() && m_file->isOpen() && left > 0) {
        const qint64 written = m_file->write(data, left);
        if (written <= 0) {
            m_writeError = sentence(m_file->errorString());
            break;
        }
        data += written;
        left -= written;
        m_written += written;
    }
}

void PatchFileWriter::takeBack(std::uint64_t bytes)
{
    if (!m_writeError.isEmpty() || !m_file->isOpen())
        return;
    m_written -= static_cast<qint64>(bytes);
    if (!m_file->seek(m_written) || !m_file->resize(m_written))
        m_writeError = sentence(m_file->errorString());
}

bool PatchFileWriter::run(const QString &templatePath, QString *error)
{
    // The template is opened first: when it cannot be read, nothing is
    // created at the target either.
    QFile templ(templatePath);
    if (!openForReading(templ, error, QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    // Only a regular file is ever replaced: the patch would take the place
    // of a device node or a pipe, which is never what the user meant.
    const QString kind = specialKind(m_file->fileName());
    if (isSameFile(templ, m_file->fileName()))
        m_writeError = QStringLiteral("It is the template the patch is made from; the patch would "
                                      "take its place. Choose another name.");
    else if (!kind.isEmpty())
        m_writeError = QStringLiteral("It is %1, not a regular file; a patch would take its "
                                      "place. Choose another name.")
                           .arg(kind);
    else if (!m_file->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        m_writeError = sentence(m_file->errorString());

    const qint64 total = templ.size();
    const auto afterChunk = [&](qint64 done) {
        m_cancelled = m_progress && !m_progress(done, total);
        return !m_cancelled;
    };
    const bool read = readTemplate(templ, m_run, error, afterChunk);
    if (m_progress)
        m_progress(total, total);
    if (!read) {
        discard();
        return false;
    }
    m_run.finish();
    return true;
}

bool PatchFileWriter::written(QString *error) const
{
    if (m_writeError.isEmpty() && m_file->isOpen())
        return true;
    *error = m_writeError.isEmpty() ? QStringLiteral("The patch was not written.") : m_writeError;
    return false;
}

bool PatchFileWriter::commit(QString *error)
{
    if (!written(error)) {
        discard();
        return false;
    }
    if (!m_file->commit()) {
        *error = sentence(m_file->errorString());
        return false;
    }
    return true;
}

void PatchFileWriter::discard()
{
    if (m_file->isOpen())
        m_file->cancelWriting();
    if (m_file->isOpen())
        m_file->commit(); // after cancelWriting, commit only removes the temporary file
}

} // namespace jukora::patch
