#include "ui/FilesManager.h"

#include "audit/DiskNames.h"
#include "audit/Recycling.h"
#include "audit/ReferencePlaces.h"
#include "audit/ResourceFolders.h"
#include "data/ProgramInfo.h"
#include "reports/TextConventions.h"
#include "ui/CentreOnScreen.h"
#include "ui/Platform.h"
#include "ui/ProgramState.h"
#include "ui/Prompts.h"
#include "ui/QtText.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <optional>

namespace orv::ui {

namespace {

constexpr int MissingGfxList = 0;
constexpr int MissingMmediaList = 1;
constexpr int UnusedGfxList = 2;
constexpr int UnusedMmediaList = 3;

QLabel* makeLabel(const QString& text, QWidget* parent, bool wrap = false) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(wrap);
    return label;
}

// Passes each move on to the desktop's Trash. Before the first one the list
// box is redrawn without the chosen names, and after each one the window
// breathes, so that it repaints between files.
class YieldingTrash : public Trash {
  public:
    YieldingTrash(Trash& inner, std::function<void()> beforeFirst)
        : inner_(inner), beforeFirst_(std::move(beforeFirst)) {}

    bool RecycleFile(const std::filesystem::path& file) override {
        if (beforeFirst_) {
            beforeFirst_();
            beforeFirst_ = nullptr;
        }
        const bool moved = inner_.RecycleFile(file);
        QCoreApplication::processEvents();
        return moved;
    }

  private:
    Trash& inner_;
    std::function<void()> beforeFirst_;
};

// Names from disk are shown through DisplayName (one line of valid UTF-8);
// the file is still found by its real name, entry for entry in the list.
void showEntries(QListWidget& list, const std::vector<std::string>& entries, bool fromDisk) {
    const auto shown = [fromDisk](const std::string& entry) {
        return toQString(fromDisk ? DisplayName(entry) : entry);
    };
    bool same = list.count() == static_cast<int>(entries.size());
    for (int i = 0; same && i < list.count(); ++i)
        same = list.item(i)->text() == shown(entries[static_cast<std::size_t>(i)]);
    if (same)
        return;
    list.clear();
    for (const std::string& entry : entries)
        list.addItem(shown(entry));
}

// What the picture loader reports, by the system's error numbers.
struct PictureError {
    int number;
    const char* description;
};
constexpr PictureError FileNotFound{53, "File not found"};
constexpr PictureError AccessError{75, "Path/File access error"};
constexpr PictureError InvalidPicture{481, "Invalid picture"};

} // namespace

FilesManager::FilesManager(ProgramState& state, Platform& platform, QWidget* parent)
    : QDialog(parent), state_(state), platform_(platform) {
    setObjectName(QStringLiteral("FileMan"));
    setWindowTitle(QStringLiteral("Missing & Unused Files Manager"));
    setModal(true);

    static const char* const listNames[4] = {"List1", "List2", "List3", "List4"};
    static const char* const captions[4] = {"Missing Files (GFX folder)", "Missing Files (MMedia folder)",
                                            "Unused Files (GFX folder)", "Unused Files (MMedia folder)"};
    const int listWidth = fontMetrics().averageCharWidth() * 30;
    auto* grid = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        auto* list = new QListWidget(this);
        list->setObjectName(QLatin1String(listNames[i]));
        list->setMinimumWidth(listWidth);
        list->setSelectionMode(i >= UnusedGfxList ? QAbstractItemView::ExtendedSelection
                                                  : QAbstractItemView::SingleSelection);
        lists_[i] = list;

        auto* caption = makeLabel(QLatin1String(captions[i]), this);
        caption->setBuddy(list);
        auto* column = new QVBoxLayout;
        column->addWidget(caption);
        column->addWidget(list, 1);
        if (i == UnusedGfxList)
            column->addWidget(makeLabel(QStringLiteral("(Single-click to preview)"), this));
        if (i == UnusedMmediaList)
            column->addWidget(makeLabel(QStringLiteral("(Double-click to preview)"), this));
        grid->addLayout(column, i / 2, i % 2);
    }

    const int textWidth = fontMetrics().averageCharWidth() * 34;
    auto* missingNote = makeLabel(
        QStringLiteral("The files listed to the left are referenced in the Orvanta Project, but could not be found in "
                       "the appropriate 'Resource' folder.  These files are required in order for the game to work "
                       "properly!"),
        this, true);
    missingNote->setFixedWidth(textWidth);
    auto* unusedNote = makeLabel(
        QStringLiteral(
            "The files listed to the left are not referenced in the Orvanta Project, and are wasting space. "),
        this, true);
    unusedNote->setFixedWidth(textWidth);
    auto* recycleNote =
        makeLabel(QStringLiteral("Right-click on selected file(s) to send to Recycle Bin."), this, true);
    recycleNote->setFixedWidth(textWidth);

    // The texts and the preview in panels of their own, so that a narrow
    // screen can have them below the lists rather than off to the right.
    auto* missingPanel = new QWidget(this);
    auto* missingColumn = new QVBoxLayout(missingPanel);
    missingColumn->setContentsMargins(0, 0, 0, 0);
    missingColumn->addWidget(missingNote);
    missingColumn->addStretch(1);
    auto* unusedPanel = new QWidget(this);
    auto* unusedColumn = new QVBoxLayout(unusedPanel);
    unusedColumn->setContentsMargins(0, 0, 0, 0);
    unusedColumn->addWidget(unusedNote);
    unusedColumn->addSpacing(fontMetrics().lineSpacing() / 2);
    unusedColumn->addWidget(recycleNote);
    unusedColumn->addStretch(1);

    auto* previewHeading = makeLabel(QStringLiteral("Image Preview Window"), this);
    QFont bold = previewHeading->font();
    bold.setBold(true);
    previewHeading->setFont(bold);
    preview_ = new QLabel(this);
    preview_->setObjectName(QStringLiteral("Prev"));
    preview_->setFrameShape(QFrame::StyledPanel);
    preview_->setFrameShadow(QFrame::Sunken);
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setFixedSize(textWidth, textWidth * 3 / 4);
    preview_->setBackgroundRole(QPalette::Base);
    preview_->setAutoFillBackground(true);

    auto* exit = new QPushButton(QStringLiteral("Exit Files Manager"), this);
    exit->setObjectName(QStringLiteral("Command1"));
    exit->setAutoDefault(false);

    auto* previewPanel = new QWidget(this);
    auto* previewColumn = new QVBoxLayout(previewPanel);
    previewColumn->setContentsMargins(0, 0, 0, 0);
    previewColumn->addWidget(previewHeading);
    previewColumn->addWidget(preview_);
    previewColumn->addStretch(1);
    previewColumn->addWidget(exit, 0, Qt::AlignRight);

    grid->addWidget(missingPanel, 0, 2);
    grid->addWidget(unusedPanel, 1, 2);
    grid->addWidget(previewPanel, 0, 3, 2, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(0, 1);
    grid->setRowStretch(1, 1);
    grid->setHorizontalSpacing(fontMetrics().averageCharWidth() * 2);

    QWidget* contents = scrollingContents(*this);
    auto* layout = new QVBoxLayout(contents);
    layout->addLayout(grid);
    contents->setMinimumHeight(fontMetrics().lineSpacing() * 30);

    // Where the four columns are wider than the screen, the lists narrow
    // and the preview joins the texts in one column on the right, beside
    // the unused lists, as narrow as leaves room for the lists.
    const int room = fittedToScreen(*this, QSize(1 << 20, 1 << 20)).width();
    if (contents->sizeHint().width() > room) {
        const int charWidth = fontMetrics().averageCharWidth();
        const int narrowList = charWidth * 18;
        const QMargins margins = layout->contentsMargins();
        const int side = std::clamp(room - 2 * narrowList - 2 * grid->horizontalSpacing() - margins.left() -
                                        margins.right() - style()->pixelMetric(QStyle::PM_ScrollBarExtent),
                                    charWidth * 20, textWidth);
        for (QListWidget* list : lists_)
            list->setMinimumWidth(narrowList);
        for (QLabel* note : {missingNote, unusedNote, recycleNote})
            note->setFixedWidth(side);
        preview_->setFixedSize(side, side * 3 / 4);
        grid->removeWidget(previewPanel);
        unusedColumn->insertWidget(unusedColumn->count() - 1, previewPanel);
    }

    connect(lists_[UnusedGfxList], &QListWidget::itemClicked, this, [this] { previewCurrentPicture(); });
    connect(lists_[UnusedMmediaList], &QListWidget::itemDoubleClicked, this, [this] { openCurrentMediaFile(); });
    connect(exit, &QPushButton::clicked, this, &QWidget::hide);
    for (int i : {UnusedGfxList, UnusedMmediaList}) {
        // The pop-up menu is handled before the list sees the press, so
        // that a right click leaves the selection alone.
        lists_[i]->viewport()->installEventFilter(this);
        lists_[i]->installEventFilter(this);
    }

    fitContentsToScreen(*this, false);
    showLists();
}

void FilesManager::showModal() {
    showLists();
    exec();
}

void FilesManager::showLists() {
    showEntries(*lists_[MissingGfxList], state_.audit.lists.MissingGfx, false);
    showEntries(*lists_[MissingMmediaList], state_.audit.lists.MissingMmedia, false);
    // Resting the pointer on a missing file tells where the project names it
    // and what was probably meant.
    for (const auto& [index, kind] :
         {std::pair{MissingGfxList, FolderKind::Gfx}, std::pair{MissingMmediaList, FolderKind::Mmedia}}) {
        const std::vector<std::string>& missing = state_.audit.lists.missing(kind);
        QListWidget& list = *lists_[index];
        for (int row = 0; row < list.count() && static_cast<std::size_t>(row) < missing.size(); ++row) {
            const std::string& name = missing[static_cast<std::size_t>(row)];
            const std::string note = MissingFileNote(state_.audit.lists.MissingPlaces.of(kind, name),
                                                     state_.audit.suggestionsFor(kind, name), state_.project);
            // As plain text, whatever the names hold.
            list.item(row)->setToolTip(QStringLiteral("<p style='white-space:pre'>") + toQString(note).toHtmlEscaped() +
                                       QStringLiteral("</p>"));
        }
    }
    showEntries(*lists_[UnusedGfxList], state_.audit.lists.UnusedGfx, true);
    showEntries(*lists_[UnusedMmediaList], state_.audit.lists.UnusedMmedia, true);
}

QString FilesManager::resourceFile(FolderKind kind, const std::string& name) const {
    const std::filesystem::path folder = ResourceFolder(state_.project.Paths.ProjectFolder, kind);
    return QFile::decodeName((folder / name).c_str());
}

void FilesManager::clearPreview() {
    preview_->clear();
}

void FilesManager::previewCurrentPicture() {
    QListWidget* list = lists_[UnusedGfxList];
    const int row = list->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= state_.audit.lists.UnusedGfx.size())
        return;
    const QString file = resourceFile(FolderKind::Gfx, state_.audit.lists.UnusedGfx[static_cast<std::size_t>(row)]);

    QImage picture;
    std::optional<PictureError> error;
    const QFileInfo info(file);
    if (!info.isFile()) {
        error = FileNotFound;
    } else if (!info.isReadable()) {
        error = AccessError;
    } else {
        QImageReader reader(file);
        reader.setDecideFormatFromContent(true);
        reader.setAutoTransform(true);
        // The picture loader reads BMP, JPEG and GIF files only.
        const QByteArray format = reader.format().toLower();
        if ((format != "bmp" && format != "jpeg" && format != "jpg" && format != "gif") || !reader.read(&picture))
            error = InvalidPicture;
    }
    if (error) {
        preview_->clear();
        platform_.prompts.showMessage(this, toQString(ApplicationTitle),
                                      QStringLiteral("Error loading image:\rError #") +
                                          toQString(SignedForm(error->number)) + QStringLiteral(" - ") +
                                          QLatin1String(error->description),
                                      Prompts::Icon::None);
        return;
    }

    // Shrunk to fit the box with its aspect kept; a small picture is shown
    // at its own size rather than blown up.
    const qreal ratio = preview_->devicePixelRatioF();
    const QSize box = preview_->contentsRect().size() * ratio;
    if (picture.width() > box.width() || picture.height() > box.height())
        picture = picture.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPixmap pixmap = QPixmap::fromImage(picture);
    pixmap.setDevicePixelRatio(ratio);
    preview_->setPixmap(pixmap);
}

void FilesManager::openCurrentMediaFile() {
    const int row = lists_[UnusedMmediaList]->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= state_.audit.lists.UnusedMmedia.size())
        return;
    if (!platform_.opener.OpenWithShell(
            resourceFile(FolderKind::Mmedia, state_.audit.lists.UnusedMmedia[static_cast<std::size_t>(row)])))
        platform_.prompts.showMessage(this, toQString(ApplicationTitle), QStringLiteral("Could not open file."),
                                      Prompts::Icon::None);
}

void FilesManager::recycleSelected(FolderKind kind) {
    const bool gfx = kind == FolderKind::Gfx;
    QListWidget* list = lists_[gfx ? UnusedGfxList : UnusedMmediaList];
    std::vector<std::string>& names = gfx ? state_.audit.lists.UnusedGfx : state_.audit.lists.UnusedMmedia;

    if (platform_.prompts.ask(this, QStringLiteral("Confirm"),
                              QStringLiteral("Are you sure you want to send the selected file(s) to the Recycle Bin?"),
                              Prompts::Buttons::YesNo, Prompts::Icon::Question) != Prompts::Answer::Yes)
        return;

    // The box mirrors the audit list entry by entry; should they ever
    // differ, nothing is recycled on the strength of a stale selection.
    if (list->count() != static_cast<int>(names.size())) {
        showLists();
        return;
    }
    std::vector<bool> selected(names.size(), false);
    for (int i = 0; i < list->count(); ++i)
        selected[static_cast<std::size_t>(i)] = list->item(i)->isSelected();

    YieldingTrash trash(platform_.trash, [this] { showLists(); });
    RecycleSelected(names, selected, ResourceFolder(state_.project.Paths.ProjectFolder, kind), trash);
    state_.audit.unusedChanged();
    showLists();
    if (gfx)
        clearPreview();
}

void FilesManager::popUpRecycleMenu(QListWidget* list, const QPoint& globalPos) {
    if (list->count() == 0 || list->selectedItems().isEmpty())
        return;
    const bool gfx = list == lists_[UnusedGfxList];
    QMenu menu(this);
    menu.setObjectName(gfx ? QStringLiteral("RecycleGFX") : QStringLiteral("RecycleMM"));
    QAction* send = menu.addAction(QStringLiteral("Send file(s) to Recycle Bin"));
    send->setObjectName(gfx ? QStringLiteral("RecycleBinA") : QStringLiteral("RecycleBinB"));
    if (menu.exec(globalPos) == send)
        recycleSelected(gfx ? FolderKind::Gfx : FolderKind::Mmedia);
}

bool FilesManager::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == lists_[UnusedGfxList] || watched == lists_[UnusedMmediaList]) &&
        event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* list = static_cast<QListWidget*>(watched);
        // Delete asks the Trash question, as the menu's item does; with
        // nothing selected there is no menu and nothing to ask.
        if (key->matches(QKeySequence::Delete)) {
            if (!list->selectedItems().isEmpty())
                recycleSelected(list == lists_[UnusedGfxList] ? FolderKind::Gfx : FolderKind::Mmedia);
            return true;
        }
        // Enter opens a media file as a double click does.
        if (list == lists_[UnusedMmediaList] && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            openCurrentMediaFile();
            return true;
        }
    }
    if (watched == lists_[UnusedGfxList] && event->type() == QEvent::KeyPress) {
        // A keyboard move previews as a click does: the list takes the key
        // first, here, and a key it leaves goes on to the window as usual.
        QListWidget* list = lists_[UnusedGfxList];
        const QListWidgetItem* before = list->currentItem();
        event->accept();
        static_cast<QObject*>(list)->event(event);
        const bool taken = event->isAccepted();
        if (list->currentItem() && list->currentItem() != before)
            previewCurrentPicture();
        if (!taken)
            event->ignore();
        return taken;
    }
    for (int i : {UnusedGfxList, UnusedMmediaList}) {
        QListWidget* list = lists_[i];
        if (watched == list->viewport() && event->type() == QEvent::MouseButtonPress) {
            auto* press = static_cast<QMouseEvent*>(event);
            if (press->button() != Qt::RightButton)
                return false;
            popUpRecycleMenu(list, press->globalPosition().toPoint());
            return true;
        }
        if ((watched == list->viewport() || watched == list) && event->type() == QEvent::ContextMenu) {
            auto* request = static_cast<QContextMenuEvent*>(event);
            // The mouse's request was answered by the press; the menu key
            // pops the menu up beside the current entry.
            if (request->reason() == QContextMenuEvent::Keyboard) {
                const QRect current = list->visualItemRect(list->currentItem());
                popUpRecycleMenu(list, list->viewport()->mapToGlobal(current.isValid() ? current.center() : QPoint()));
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FilesManager::showEvent(QShowEvent* event) {
    placeOnFirstShow(*this, placed_);
    QDialog::showEvent(event);
}

} // namespace orv::ui
