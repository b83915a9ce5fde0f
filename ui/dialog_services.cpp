#include "ui/dialog_services.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

namespace pixmorph::ui {

QString fromPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string toPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString pickerFilters(const FilePickerSettings& settings) {
    auto filter = [](const std::string& name, const std::string& patterns) {
        return QStringLiteral("%1 (%2);;")
            .arg(QString::fromStdString(name), QString::fromStdString(patterns));
    };
    QString filters = filter(settings.filterName, settings.filterPattern);
    for (const auto& [name, patterns] : settings.moreFilters)
        filters += filter(name, patterns);
    // "*.*" is the system's "every file"; here files need not have a dot.
    return filters + QStringLiteral("All Files *.* (*)");
}

QRect messageArea(const QWidget* owner) {
    for (const QWidget* window = owner ? owner->window() : nullptr; window;
         window = window->parentWidget() ? window->parentWidget()->window() : nullptr)
        if (window->isVisible())
            return window->frameGeometry();
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

MessageAnswer QtDialogServices::showMessage(QWidget* owner, const std::string& text,
                                            MessageIcon icon, bool yesNo) {
    QMessageBox box(
        icon == MessageIcon::stop ? QMessageBox::Critical : QMessageBox::Warning,
        QString::fromUtf8(msg::kAppName.data(), static_cast<qsizetype>(msg::kAppName.size())),
        QString::fromStdString(text),
        yesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    // Placed here, not by Qt: Qt centres a box on its owner even while the owner is not yet on
    // screen (a message during start-up or before a job window shows), which puts it in the
    // screen's top-left corner.
    box.adjustSize();
    box.move(messageArea(owner).center() - box.rect().center());
    const int answer = box.exec();
    if (!yesNo)
        return MessageAnswer::ok;
    return answer == QMessageBox::Yes ? MessageAnswer::yes : MessageAnswer::no;
}

std::string QtDialogServices::pickExistingFile(const FilePickerSettings& settings) {
    QFileDialog dialog(nullptr, QString::fromStdString(settings.title), QDir::currentPath());
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(pickerFilters(settings).split(QStringLiteral(";;")));
    // File names here are case-sensitive and the program's own rules want lower case.
    dialog.setDefaultSuffix(QString::fromStdString(settings.defaultExtension).toLower());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString chosen = QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath();
    if (chosen.size() > kPickerPathLimit)
        return {};
    QDir::setCurrent(QFileInfo(chosen).absolutePath());
    return toPath(QDir::toNativeSeparators(chosen));
}

std::optional<std::string> QtDialogServices::pickFolder(const std::string& title) {
    const QString chosen = QFileDialog::getExistingDirectory(
        nullptr,
        title.empty() ? QStringLiteral("Set Output Directory") : QString::fromStdString(title),
        QString(), QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty())
        return std::nullopt;
    return toPath(QDir::toNativeSeparators(chosen));
}

int QtDialogServices::runModal(QDialog& dialog) {
    return dialog.exec();
}

} // namespace pixmorph::ui
