#include "patchfile.h"

namespace jukora::patch {

namespace {
constexpr std::size_t kFlushAt = 1 << 18;
} // namespace

PatchFileWriter::PatchFileWriter(const QString &patchPath, const ElementQuery &query)
    : m_run(query), m_file(std::make_unique<QSaveFile>(patchPath))
{
    m_buffer.reserve(kFlushAt + 4096);
}

PatchFileWriter::~PatchFileWriter()
{
    discard();
}

void PatchFileWriter::flush()
{
    if (m_buffer.empty())
        return;
    // A disk that fills part way takes only part of a write, and says so
    // (with the system's reason) only on the next one.
    const char *data = m_buffer.data();
    auto left = static_cast<qint64>(m_buffer.size());
    while (m_writeError.isEmpty() && m_file->isOpen() && left > 0) {
        const qint64 written = m_file->write(data, left);
        if (written <= 0) {
            m_writeError = sentence(m_file->errorString());
            break;
        }
        data += written;
        left -= written;
    }
    m_buffer.clear();
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

    auto onLine = [this](std::string_view line) {
        m_run.line(line, m_buffer);
        if (m_buffer.size() >= kFlushAt)
            flush();
    };
    const qint64 total = templ.size();
    const auto afterChunk = [&](qint64 done) {
        m_cancelled = m_progress && !m_progress(done, total);
        return !m_cancelled;
    };
    const bool read = readLines(templ, onLine, error, afterChunk);
    if (m_progress)
        m_progress(total, total);
    if (!read) {
        discard();
        return false;
    }
    flush();
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
