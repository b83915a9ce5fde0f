// Pixmorph, the desktop program: start-up, the main window until it closes, and the settings
// written back however it closed.
#include "app/converter_state.h"
#include "app/startup.h"
#include "archive/archive_backend.h"
#include "archive/archive_library.h"
#include "ui/desktop_association.h"
#include "ui/dialog_services.h"
#include "ui/main_window.h"
#include "ui/qt_settings_store.h"
#include "ui/resources.h"
#include "ui/template_builder.h"

#include <QApplication>
#include <memory>
#include <string>
#include <vector>

using namespace pixmorph;

int main(int argc, char** argv) {
    // Everything after the program's name is the start-up file, taken before Qt reads its own
    // options out of the arguments.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    ArchiveLibrary archive(makeStormBackend());

    QApplication application(argc, argv);
    QApplication::setWindowIcon(ui::iconResource(ui::kProgramIcon));
    // Message boxes and pickers in the windows' own font, so every window reads alike.
    QApplication::setFont(ui::dialogFont());

    ui::QtSettingsStore store;
    ui::QtDialogServices services;
    const auto state = std::make_unique<ConverterState>();
    const StartupResult start = startUp(store, *state, commandLineRemainder(arguments));
    if (!start.message.empty())
        services.showMessage(nullptr, start.message, MessageIcon::exclamation, false);
    if (!start.runWindow)
        return 0;

    const auto association = ui::makeDesktopAssociation();
    {
        ui::MainWindow window(*state, archive, *association,
                              ui::toPath(QCoreApplication::applicationFilePath()), services);
        window.run();
    }
    writeSettingsAtExit(store, *state);
    return 0;
}
