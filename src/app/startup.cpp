#include "startup.h"

#include "dialogs.h"
#include "mainwindow.h"
#include "templatelist.h"

namespace jukora {

std::unique_ptr<MainWindow> startEditor(Dialogs &dialogs, const QString &folder)
{
    QString error;
    const auto templates = listTemplates(folder, &error);
    if (!templates) {
        dialogs.message(nullptr, Dialogs::Icon::Critical, applicationTitle(), error);
        return nullptr;
    }
    return std::make_unique<MainWindow>(*templates, dialogs);
}

} // namespace jukora
