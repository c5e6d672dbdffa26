#include "patchfile.h"

namespace jukora::patch {

namespace {
constexpr std::size_t kFlushAt = 1 << 18;
} // namespace

PatchFileWriter::PatchFileWriter(const QString &patchPath, const ElementQuery &query,
                                 std::int16_t selIndex)
    : m_run(query, selIndex), m_file(std::make_unique<QSaveFile>(patchPath))
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
    if (m_writeError.isEmpty()) {
        const auto size = static_cast<qint64>(m_buffer.size());
        if (m_file->write(m_buffer.data(), size) != size)
            m_writeError = m_file->errorString();
    }
    m_buffer.clear();
}

bool PatchFileWriter::run(const QString &templatePath, QString *error)
{
    // The template is opened first: when it cannot be read, nothing is
    // created at the target either.
    QFile probe(templatePath);
    if (!probe.open(QIODevice::ReadOnly)) {
        *error = probe.errorString();
        return false;
    }
    probe.close();
    if (!m_file->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        m_writeError = m_file->errorString();

    auto onLine = [this](std::string_view line, bool hasStar) {
        m_run.line(line, hasStar, m_buffer);
        if (m_buffer.size() >= kFlushAt)
            flush();
    };
    if (!readLines(templatePath, onLine, error)) {
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
    *error = m_writeError.isEmpty() ? QStringLiteral("the patch was not written") : m_writeError;
    return false;
}

bool PatchFileWriter::commit(QString *error)
{
    if (!written(error)) {
        discard();
        return false;
    }
    if (!m_file->commit()) {
        *error = m_file->errorString();
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
