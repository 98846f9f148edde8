#pragma once

#include "audit/FolderKind.h"

#include <QDialog>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPoint;

namespace orv::ui {

struct Platform;
struct ProgramState;

// The files manager "FileMan": the four audit lists (missing and unused,
// gfx and mmedia), a preview of an unused picture, opening an unused media
// file with the desktop, and recycling selected unused files. Built hidden
// at start-up and kept; its exit button only hides it.
class FilesManager : public QDialog {
    Q_OBJECT
  public:
    FilesManager(ProgramState& state, Platform& platform, QWidget* parent);

    // Shows the window modally until Command1 hides it.
    void showModal();
    // Brings the four list boxes in line with the audit lists; a list whose
    // entries did not change keeps its selection.
    void showLists();

    // The preview of List3's current entry (a click in List3).
    void previewCurrentPicture();
    // The desktop's "open" on List4's current entry (a double click).
    void openCurrentMediaFile();
    // Asks, then sends the selected entries of List3 (gfx) or List4 (mmedia)
    // to the Trash.
    void recycleSelected(FolderKind kind);
    void clearPreview();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void popUpRecycleMenu(QListWidget* list, const QPoint& globalPos);
    QString resourceFile(FolderKind kind, const std::string& name) const;

    ProgramState& state_;
    Platform& platform_;
    QListWidget* lists_[4] = {};
    QLabel* preview_ = nullptr;
    bool placed_ = false;
};

} // namespace orv::ui
