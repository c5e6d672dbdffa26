#pragma once

#include <QColor>
#include <QString>

class QWidget;

namespace jukora {

class Dialogs;

/// The one dialog component the window shares between the Save dialog, the
/// picture dialog and the colour dialog. It keeps its file name, filter and
/// colour from one use to the next.
class CommonDialog
{
public:
    CommonDialog(Dialogs &dialogs, QWidget *parent);

    QString fileName;
    QString filter; ///< "description|patterns" pairs
    QColor color{192, 192, 192};

    /// Shows the Save dialog; false when cancelled (fileName is then as it was).
    bool showSave();
    /// Shows the Open dialog; false when cancelled (fileName is then as it was).
    bool showOpen();
    /// Shows the colour dialog; color is the chosen colour, or as it was.
    void showColor();

private:
    bool takeFileName(const QString &chosen);

    Dialogs &m_dialogs;
    QWidget *m_parent;
};

} // namespace jukora
