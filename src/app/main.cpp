#include "data/ProgramInfo.h"
#include "ui/CloseWhileBlocked.h"
#include "ui/MainWindow.h"
#include "ui/Platform.h"
#include "ui/ProgramState.h"
#include "ui/QtPlatform.h"
#include "ui/QtPrompts.h"
#include "ui/QtText.h"
#include "ui/RunOnlySettings.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QMetaObject>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const orv::ui::RunOnlySettings noSettingsFile;
    QApplication::setApplicationName(orv::ui::toQString(orv::ApplicationTitle));
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(orv::VersionMajor).arg(orv::VersionMinor).arg(orv::VersionRevision));
    QApplication::setOrganizationName(QStringLiteral("Orvanta"));
    QGuiApplication::setDesktopFileName(QStringLiteral("orvanta-scanner"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("orvanta-scanner")));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Checks an Orvanta game project and shows its reports."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("project"), QStringLiteral("An Orvanta project file (*.orv) to open."),
                                 QStringLiteral("[PROJECT.orv]"));
    parser.process(app);

    // The state every window shares, alive until the program ends.
    orv::ui::ProgramState state;
    orv::ui::QtPrompts prompts;
    orv::ui::QtClipboard clipboard;
    orv::ui::QtFileOpener opener;
    orv::ui::QtReportPrinter printer;
    orv::ui::QtTrash trash(prompts);
    orv::ui::Platform platform{prompts, clipboard, opener, printer, trash};

    orv::ui::MainWindow window(state, platform);
    // Closing the main window ends the program, also while a modal window
    // is up.
    const orv::ui::CloseWhileBlocked closeRequests(window);
    window.show();

    const QStringList files = parser.positionalArguments();
    if (!files.isEmpty()) {
        const QString file = files.constFirst();
        // Once the window is on screen, as if the file had been located.
        QMetaObject::invokeMethod(
            &window, [&window, file] { window.locateFile(file); }, Qt::QueuedConnection);
    }
    return app.exec();
}
