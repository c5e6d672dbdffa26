#include "startup.h"

#include "dialogs.h"
#include "mainwindow.h"
#include "templatelist.h"

namespace jukora {

std::unique_ptr<MainWindow> startEditor(Dialogs &dialogs, const QString &folder)
{
    const TemplateListing listing = listTemplates(folder);
    if (!listing.error.isEmpty()) {
        dialogs.message(nullptr, Dialogs::Icon::Critical, applicationTitle(), listing.error);
        return nullptr;
    }
    return std::make_unique<MainWindow>(listing.entries, dialogs);
}

} // namespace jukora
