#include "commondialog.h"

#include "dialogs.h"

namespace jukora {

CommonDialog::CommonDialog(Dialogs &dialogs, QWidget *parent) : m_dialogs(dialogs), m_parent(parent)
{
}

bool CommonDialog::showSave()
{
    return takeFileName(m_dialogs.saveFileName(m_parent, filter, fileName));
}

bool CommonDialog::showOpen()
{
    return takeFileName(m_dialogs.openFileName(m_parent, filter, fileName));
}

bool CommonDialog::takeFileName(const QString &chosen)
{
    // A cancelled dialog leaves the file name as it was.
    if (chosen.isEmpty())
        return false;
    fileName = chosen;
    return true;
}

void CommonDialog::showColor()
{
    const QColor chosen = m_dialogs.color(m_parent, color);
    if (chosen.isValid())
        color = chosen;
}

} // namespace jukora
