#include "ui/main_window.h"

#include "app/control_ids.h"
#include "app/dropped_file.h"
#include "app/job_windows.h"
#include "core/preview.h"
#include "ui/archive_list.h"
#include "ui/dialog_services.h"
#include "ui/job_window.h"
#include "ui/resources.h"
#include "ui/small_windows.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>

namespace pixmorph::ui {

MainWindow::MainWindow(ConverterState& state, ArchiveLibrary& archive,
                       FileAssociationSink& association, std::string programPath,
                       DialogServices& services)
    : TemplateDialog(mainWindowTemplate(), nullptr), state_(state), dropServices_(services),
      services_(dropServices_),
      layer_(client(), QRect(kPreviewLeft, kPreviewTop, kPreviewWidth, kPreviewHeight)),
      surface_(layer_), logic_(state, *this, archive, association, std::move(programPath)),
      extras_(state, *this, logic_, *this) {
    setWindowIcon(iconResource(kProgramIcon));
    setAcceptDrops(true);
    connectControls();
}

void MainWindow::connectControls() {
    for (const ControlTemplate& entry : windowTemplate().controls) {
        const int id = entry.id;
        if (auto* button = control<QAbstractButton>(id))
            connect(button, &QAbstractButton::clicked, this, [this, id] { runCommand(id); });
    }
    connect(&archiveList(), &ArchiveList::closedUp, this, [this] {
        extras_.beforeCommand(ids::kArchiveList);
        logic_.archiveListClosed();
        extras_.afterCommand();
    });
    // The window manager's menu cannot take the about item: F1 and the context menu offer it.
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { logic_.command(ids::kAboutCommand); });
}

void MainWindow::runCommand(int id) {
    extras_.beforeCommand(id);
    logic_.command(id);
    extras_.afterCommand();
}

int MainWindow::run() {
    logic_.initialise();
    if (closed_)
        return result();
    return exec();
}

ArchiveList& MainWindow::archiveList() const {
    return *control<ArchiveList>(ids::kArchiveList);
}

void MainWindow::setControlText(int id, const std::string& text) {
    QWidget* widget = control(id);
    const QString qtText = fromPath(text);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(qtText);
        edit->setCursorPosition(0); // a long path shows from its start
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(qtText);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(qtText);
    }
}

bool MainWindow::isChecked(int id) const {
    const auto* box = control<QCheckBox>(id);
    return box && box->isChecked();
}

void MainWindow::setChecked(int id, bool checked) {
    if (auto* box = control<QCheckBox>(id))
        box->setChecked(checked);
}

void MainWindow::enableControl(int id, bool enabled) {
    if (QWidget* widget = control(id))
        widget->setEnabled(enabled);
}

void MainWindow::repaintNow() {
    repaint();
}

void MainWindow::clearList() {
    archiveList().clear();
}

void MainWindow::addListItem(const std::string& text) {
    archiveList().addSorted(text);
}

void MainWindow::selectFirstListItem() {
    if (archiveList().count() > 0)
        archiveList().setCurrentIndex(0);
}

int MainWindow::listCount() const {
    return archiveList().count();
}

std::string MainWindow::selectedListText() const {
    return archiveList().currentName();
}

MessageAnswer MainWindow::showMessage(const std::string& text, MessageIcon icon, bool yesNo) {
    return services_.showMessage(this, text, icon, yesNo);
}

std::string MainWindow::pickExistingFile(const FilePickerSettings& settings) {
    return services_.pickExistingFile(settings);
}

std::optional<std::string> MainWindow::pickFolder(const std::string& title) {
    return services_.pickFolder(title);
}

void MainWindow::closeWindow(bool accepted) {
    closed_ = true;
    done(accepted ? QDialog::Accepted : QDialog::Rejected);
}

void MainWindow::runExportWindow(const ExportWindowSetup& setup) {
    JobWindow window(setup, services_, this);
    window.run();
}

void MainWindow::runCompileWindow(const CompileWindowSetup& setup) {
    JobWindow window(setup, services_, this);
    window.run();
}

void MainWindow::runAbout() {
    AboutWindow window(this);
    services_.runModal(window);
}

void MainWindow::runSplash() {
    SplashWindow window(this);
    services_.runModal(window);
}

void MainWindow::reject() {
    logic_.command(ids::kExit);
}

void MainWindow::paintEvent(QPaintEvent* event) {
    TemplateDialog::paintEvent(event);
    // The first paint after initialisation loads the start-up file; it runs once the paint
    // is over, as loading paints the window itself.
    if (firstPaintQueued_ || state_.startup.fileDone || !state_.startup.initDone)
        return;
    firstPaintQueued_ = true;
    QMetaObject::invokeMethod(
        this, [this] { logic_.paint(); }, Qt::QueuedConnection);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // Enter on a push button presses it; anywhere else it is the window's accept command.
    if (enter && !qobject_cast<QPushButton*>(focusWidget())) {
        logic_.accept();
        return;
    }
    if (event->key() == Qt::Key_P && event->modifiers() == Qt::NoModifier) {
        extras_.togglePlayback();
        return;
    }
    TemplateDialog::keyPressEvent(event);
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* about = menu.addAction(QString::fromLatin1(kAboutItemText));
    about->setShortcut(QKeySequence(Qt::Key_F1));
    extras_.addMenuItems(menu);
    // The file commands of our own, offered as their template buttons are (a viewer start
    // keeps them off).
    menu.addSeparator();
    QAction* sheet = menu.addAction(QString::fromUtf8(kWriteOutSheetItemText));
    QAction* compact = menu.addAction(QString::fromUtf8(kCompileCompactItemText));
    const auto offered = [this](int id) {
        const QWidget* button = control(id);
        return button && button->isEnabled();
    };
    sheet->setEnabled(offered(ids::kWriteOutBmps));
    compact->setEnabled(offered(ids::kCompileToGrp));
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen == about)
        logic_.command(ids::kAboutCommand);
    else if (chosen == sheet)
        runCommand(ids::kWriteOutSheetCommand);
    else if (chosen == compact)
        runCommand(ids::kCompileCompactCommand);
    else
        extras_.handleMenuChoice(chosen);
}

void MainWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    const QRect preview(kPreviewLeft, kPreviewTop, kPreviewWidth, kPreviewHeight);
    if (preview.contains(client().mapFrom(this, event->position().toPoint())))
        extras_.openLargePreview();
    else
        TemplateDialog::mouseDoubleClickEvent(event);
}

} // namespace pixmorph::ui

namespace pixmorph::ui {

namespace {

// The first local file or folder of a drag, if any.
std::optional<QFileInfo> draggedFile(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return std::nullopt;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            return QFileInfo(url.toLocalFile());
    return std::nullopt;
}

} // namespace

void MainWindow::dropPath(const std::string& path, bool isFolder) {
    const int id = commandForDrop(dropActionFor(path, isFolder));
    // A viewer start keeps the file commands off; a drop cannot do what their buttons cannot.
    const QWidget* button = control(id);
    if (id == 0 || !button || !button->isEnabled())
        return;
    dropServices_.answerNextPick(path);
    runCommand(id);
    dropServices_.forget();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    const std::optional<QFileInfo> file = draggedFile(event->mimeData());
    if (file && dropActionFor(toPath(file->fileName()), file->isDir()) != DropAction::none)
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const std::optional<QFileInfo> file = draggedFile(event->mimeData());
    if (!file)
        return;
    event->acceptProposedAction();
    // The command may open modal windows: it runs once the drop itself is over.
    const std::string path = toPath(QDir::toNativeSeparators(file->absoluteFilePath()));
    const bool isFolder = file->isDir();
    QMetaObject::invokeMethod(
        this, [this, path, isFolder] { dropPath(path, isFolder); }, Qt::QueuedConnection);
}

} // namespace pixmorph::ui
