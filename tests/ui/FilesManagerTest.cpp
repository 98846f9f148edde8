#include "UiHarness.h"

const QString TrashQuestion = "question (Question, YesNo) in FileMan: Confirm | Are you sure you want to send the "
                              "selected file(s) to the Recycle Bin?";

// The files manager after the resource files report of filesProject(), shown
// without a modal loop so that the test can click in it.
class FilesManagerTest : public UiTest {
protected:
    void SetUp() override {
        locate(filesProject().write(dir.path()));
        ASSERT_TRUE(reportOf([&] { window.pickReport(0); }));
        manager().showLists();
        manager().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&manager()));
    }
    ui::FilesManager& manager() { return window.filesManager(); }
    QListWidget* list(int n) { return control<QListWidget>(&manager(), QString("List%1").arg(n)); }
    QStringList entries(int n) {
        QStringList out;
        for (int i = 0; i < list(n)->count(); ++i) out << list(n)->item(i)->text();
        return out;
    }
    bool previewShown() { return !control<QLabel>(&manager(), "Prev")->pixmap().isNull(); }
    QString media(const QString& name) { return qpath(dir / "resource" / "mmedia") + "/" + name; }
    void click(int n, const QString& name) {
        const QPoint at = list(n)->visualItemRect(list(n)->findItems(name, Qt::MatchExactly).value(0)).center();
        QTest::mouseClick(list(n)->viewport(), Qt::LeftButton, {}, at);
    }
    // A right-button press on the list: the name of the pop-up menu that
    // showed (empty for none), after choosing its one item.
    QString rightClick(int n) {
        QString shown;
        QTimer::singleShot(0, list(n), [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                shown = menu->objectName() + ": " + menu->actions().value(0)->text();
                menu->setActiveAction(menu->actions().value(0));
                QTest::keyClick(menu, Qt::Key_Return);
            }
        });
        QTest::mousePress(list(n)->viewport(), Qt::RightButton, {}, list(n)->visualItemRect(list(n)->item(0)).center());
        QApplication::processEvents();
        return shown;
    }
};

// A missing file tells where it is referenced when the pointer rests on it,
// and a click on it only selects. A click on an unused picture previews it or
// shows the error; moving through them with the keyboard previews each entry
// as a click does.
TEST_F(FilesManagerTest, AClickOrAKeyboardMovePreviewsAPictureOrShowsTheErrorAndMissingFilesTellWhereTheyAreNamed) {
    EXPECT_EQ(entries(1) + entries(2), QStringList({"lost.gif", "gone.mp3"}));
    const QString lost = list(1)->item(0)->toolTip();
    const QString gone = list(2)->item(0)->toolTip();
    EXPECT_TRUE(lost.contains("Referenced by:\n  scene 1 (") && lost.contains("), scene file 2")) << lost.toStdString();
    EXPECT_TRUE(gone.contains("Referenced by:\n  scene 2 (") && gone.contains("), scene file 2")) << gone.toStdString();
    EXPECT_FALSE(gone.contains("Did you mean")) << "nothing on disk is like gone.mp3";
    const QStringList quiet = fake.log;
    click(1, "lost.gif");
    EXPECT_EQ(fake.log, quiet);
    EXPECT_FALSE(previewShown());
    ASSERT_EQ(entries(3), QStringList({"boat.bmp", "cliff.jpg", "gull.gif", "map.png", "notes.bmp"}));
    const QString message = "message (None) in FileMan: Orvanta Project Scanner | ";
    const QString invalid = message + "Error loading image:\rError # 481 - Invalid picture"; // BMP, JPEG, GIF only
    for (const auto& [name, error] : std::initializer_list<std::pair<const char*, bool>>{
             {"boat.bmp", false}, {"notes.bmp", true}, {"cliff.jpg", false}, {"map.png", true}, {"gull.gif", false}}) {
        const QStringList before = fake.log;
        click(3, name);
        EXPECT_EQ(previewShown(), !error) << name;
        EXPECT_EQ(fake.log, error ? before + QStringList{invalid} : before) << name;
    }
    click(3, "boat.bmp");
    const qsizetype before = fake.log.size();
    for (const auto& [key, name, error] : std::initializer_list<std::tuple<Qt::Key, const char*, bool>>{
             {Qt::Key_Down, "cliff.jpg", false}, {Qt::Key_Down, "gull.gif", false}, {Qt::Key_Down, "map.png", true},
             {Qt::Key_Up, "gull.gif", false}, {Qt::Key_End, "notes.bmp", true}}) {
        const qsizetype logged = fake.log.size();
        QTest::keyClick(list(3), key);
        QApplication::processEvents();
        EXPECT_EQ(list(3)->currentItem()->text(), name);
        EXPECT_EQ(previewShown(), !error) << name;
        EXPECT_EQ(fake.log.mid(logged), error ? QStringList{invalid} : QStringList()) << name;
    }
    QTest::keyClick(list(3), Qt::Key_End);
    QApplication::processEvents();
    EXPECT_EQ(fake.log.size(), before + 2) << "no move, no preview";
    fs::remove(dir / "resource" / "gfx" / "cliff.jpg");
    click(3, "cliff.jpg");
    EXPECT_EQ(fake.log.back(), message + "Error loading image:\rError # 53 - File not found");
}

TEST_F(FilesManagerTest, RecyclingSendsTheSelectedUnusedFilesToTheTrashInListOrder) {
    EXPECT_EQ(rightClick(4), "") << "no menu without a selection";
    click(3, "boat.bmp");
    const QStringList names = entries(4);
    list(4)->selectAll();
    fake.script = {"No", "Yes"};
    EXPECT_EQ(rightClick(4), "RecycleMM: Send file(s) to Recycle Bin");
    EXPECT_EQ(list(4)->selectedItems().size(), names.size()) << "No changes nothing";
    QStringList expected{TrashQuestion}, listedAtFirstRequest{"(none)"};
    for (const QString& name : names) expected << "recycle: " + media(name);
    fake.onRecycle = [&](const fs::path& f) {
        if (listedAtFirstRequest == QStringList{"(none)"}) listedAtFirstRequest = entries(4);
        return ui::QtTrash(fake).RecycleFile(f);
    };
    fake.log.clear();
    EXPECT_EQ(rightClick(4), "RecycleMM: Send file(s) to Recycle Bin");
    EXPECT_EQ(fake.log, expected) << "one request per file, in list order";
    EXPECT_EQ(listedAtFirstRequest, QStringList()) << "the names leave the list first";
    const QString trash = qEnvironmentVariable("XDG_DATA_HOME") + "/Trash/";
    for (const QString& name : names) {
        EXPECT_FALSE(QFile::exists(media(name)));
        EXPECT_TRUE(QFile::exists(trash + "files/" + name) && QFile::exists(trash + "info/" + name + ".trashinfo"));
    }
    EXPECT_TRUE(state.audit.lists.UnusedMmedia.empty());
    EXPECT_TRUE(previewShown()) << "recycling media files leaves the picture preview alone";
}

// Enter on an unused media file opens it as a double click does, and a file
// the desktop cannot open says so.
TEST_F(FilesManagerTest, EnterOrADoubleClickOpensAMediaFileOrSaysItCouldNot) {
    const QString couldNot = "message (None) in FileMan: Orvanta Project Scanner | Could not open file.";
    for (const auto& [enter, opens] : {std::pair{false, true}, {true, true}, {false, false}, {true, false}}) {
        fake.openSucceeds = opens;
        fake.log.clear();
        if (enter) {
            list(4)->setCurrentItem(list(4)->findItems("theme.mp3", Qt::MatchExactly).value(0));
            QTest::keyClick(list(4), Qt::Key_Return);
        } else {
            click(4, "theme.mp3");
            const QPoint at = list(4)->visualItemRect(list(4)->currentItem()).center();
            QTest::mouseDClick(list(4)->viewport(), Qt::LeftButton, {}, at);
        }
        const QStringList expected = QStringList{"shell open: " + media("theme.mp3")} + (opens ? QStringList() : QStringList{couldNot});
        EXPECT_EQ(fake.log, expected) << (enter ? "Enter" : "double click");
        EXPECT_TRUE(manager().isVisible());
    }
}

// Delete asks the Trash question for the selected unused files, as the
// pop-up menu's item does; with none selected, or in a missing list, nothing.
TEST_F(FilesManagerTest, DeleteSendsTheSelectedUnusedFilesToTheTrashAfterTheQuestion) {
    struct Case {
        int list;
        const char* selected; // nothing when null
        const char* answer;
        QStringList log;
    };
    const Case cases[] = {
        {4, nullptr, nullptr, {}},
        {1, "lost.gif", nullptr, {}},
        {3, "boat.bmp", "No", {TrashQuestion}},
        {4, "wind.wav", "Yes", {TrashQuestion, "recycle: " + media("wind.wav")}},
    };
    for (const Case& c : cases) {
        list(c.list)->clearSelection();
        if (c.selected) list(c.list)->findItems(c.selected, Qt::MatchExactly).value(0)->setSelected(true);
        if (c.answer) fake.script << c.answer;
        fake.log.clear();
        list(c.list)->setFocus();
        QTest::keyClick(list(c.list), Qt::Key_Delete);
        EXPECT_EQ(fake.log, c.log) << c.list << " " << (c.selected ? c.selected : "(none)");
    }
    EXPECT_FALSE(entries(4).contains("wind.wav"));
    EXPECT_TRUE(entries(3).contains("boat.bmp"));
}
