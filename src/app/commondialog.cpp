#include "commondialog.h"

#include "dialogs.h"

namespace jukora {

CommonDialog::CommonDialog(Dialogs &dialogs, QWidget *parent) : m_dialogs(dialogs), m_parent(parent)
{
}

bool CommonDialog::ShowSave()
{
    return takeFileName(m_dialogs.saveFileName(m_parent, Filter, FileName));
}

bool CommonDialog::ShowOpen()
{
    return takeFileName(m_dialogs.openFileName(m_parent, Filter, FileName));
}

bool CommonDialog::takeFileName(const QString &chosen)
{
    // A cancelled dialog leaves the file name as it was.
    if (chosen.isEmpty())
        return false;
    FileName = chosen;
    return true;
}

void CommonDialog::ShowColor()
{
    const QColor chosen = m_dialogs.color(m_parent, Color);
    if (chosen.isValid())
        Color = chosen;
}

} // namespace jukora
