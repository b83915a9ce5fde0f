#include "ui/desktop_association.h"

#include "app/xdg_association.h"
#include "ui/resources.h"

#include <QProcess>
#include <QStringList>

namespace pixmorph::ui {

namespace {

// Quietly, and never for long: the association must not hold up the start.
void runDesktopTool(const std::vector<std::string>& command) {
    if (command.empty())
        return;
    QStringList arguments;
    for (std::size_t i = 1; i < command.size(); ++i)
        arguments << QString::fromStdString(command[i]);
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(QString::fromStdString(command.front()), arguments);
    if (!process.waitForStarted(2000))
        return;
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(1000);
    }
}

std::vector<XdgIcon> desktopIcons() {
    std::vector<XdgIcon> icons;
    for (const int size : {16, 32, 48})
        icons.push_back({"apps", std::string(kProgramIconName), size,
                         iconPngBytes(kProgramIcon, size).toStdString()});
    icons.push_back({"mimetypes", mimeTypeIconName(kGrpMimeType), 32,
                     iconPngBytes(kDocumentIcon, 32).toStdString()});
    return icons;
}

} // namespace

std::unique_ptr<FileAssociationSink> makeDesktopAssociation() {
    return std::make_unique<XdgAssociationSink>(xdgFoldersFromEnvironment(), desktopIcons(),
                                                runDesktopTool);
}

} // namespace pixmorph::ui
