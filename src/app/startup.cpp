#include "startup.h"

#include "dialogs.h"
#include "mainwindow.h"
#include "templatelist.h"

namespace jukora {

std::unique_ptr<MainWindow> startEditor(Dialogs &dialogs, const QStringList &folders)
{
    QString error, warning;
    const auto templates = listTemplates(folders, &error, &warning);
    if (!templates) {
        dialogs.message(nullptr, Dialogs::Icon::Critical, applicationTitle(), error);
        return nullptr;
    }
    if (!warning.isEmpty())
        dialogs.message(nullptr, Dialogs::Icon::Warning, applicationTitle(), warning);
    auto window = std::make_unique<MainWindow>(*templates, dialogs);
    window->followTemplateFolders(folders);
    return window;
}

} // namespace jukora
