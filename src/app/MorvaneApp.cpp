#include "MorvaneApp.h"

#include "CanvasZoom.h"
#include "Layout.h"
#include "LayoutFile.h"
#include "LayoutHistory.h"
#include "MorvaneDlg.h"
#include "OpenFile.h"
#include "PanelPreview.h"
#include "QelVersion.h"
#include "Recovery.h"
#include "SimulatorProcess.h"
#include "Translations.h"
#include "UiServices.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QIcon>
#include <QLocale>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace
{

const char kUsage[] = "usage: qelmorvane [--simulate [--sim-arg ARG]...] [--port PATH] [FILE.qel]\n"
                      "       qelmorvane --try FILE.qel\n"
                      "\n"
                      "The QEL-1 panel's configuration tool.\n"
                      "\n"
                      "  --simulate       start a simulated panel on a pseudo-terminal and select it\n"
                      "  --sim-arg ARG    pass ARG on to \"qelctl simulate\" (--sim-arg=--firmware=200)\n"
                      "  --port PATH      select the serial device PATH in the port list\n"
                      "  FILE.qel         open the template, as Open Template does\n"
                      "  --try FILE.qel   press the template's pages in the panel preview\n"
                      "  --exit-when-shown close as soon as the window has painted (start-up timing)\n"
                      "  --help           print this help\n"
                      "  --version        print the version\n";

// Closes a dialog once it has painted for the first time.
class CCloseWhenPainted : public QObject
{
public:
    explicit CCloseWhenPainted(QDialog* dialog) : m_dialog(dialog)
    {
        m_close.setSingleShot(true);
        connect(&m_close, &QTimer::timeout, dialog, &QDialog::reject);
        dialog->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Closed from the event loop, once the paint is over.
        if (watched == m_dialog && event->type() == QEvent::Paint && !m_done)
        {
            m_done = true;
            m_close.start(0);
        }
        return false;
    }

private:
    QDialog* m_dialog;
    QTimer m_close;
    bool m_done = false;
};

} // namespace

TStartOptions ParseStartOptions(const QStringList& args)
{
    TStartOptions options;
    for (qsizetype i = 0; i < args.size(); ++i)
    {
        const QString& arg = args[i];
        const auto value = [&](const QString& name) -> std::optional<QString>
        {
            if (arg.startsWith(name + u'='))
                return arg.mid(name.size() + 1);
            if (arg == name && i + 1 < args.size())
                return args[++i];
            return std::nullopt;
        };
        if (arg == QStringLiteral("--simulate"))
            options.simulate = true;
        else if (arg == QStringLiteral("--exit-when-shown"))
            options.exitWhenShown = true;
        else if (arg == QStringLiteral("-h") || arg == QStringLiteral("--help"))
            options.help = true;
        else if (arg == QStringLiteral("--version"))
            options.version = true;
        else if (arg == QStringLiteral("--port") || arg.startsWith(QStringLiteral("--port=")))
        {
            if (const auto v = value(QStringLiteral("--port")))
                options.port = *v;
            else
                options.error = QStringLiteral("--port needs a device path");
        }
        else if (arg == QStringLiteral("--try") || arg.startsWith(QStringLiteral("--try=")))
        {
            if (const auto v = value(QStringLiteral("--try")); v && !v->isEmpty())
                options.tryFile = *v;
            else
                options.error = QStringLiteral("--try needs a template file");
        }
        else if (arg == QStringLiteral("--sim-arg") || arg.startsWith(QStringLiteral("--sim-arg=")))
        {
            if (const auto v = value(QStringLiteral("--sim-arg")))
                options.simulatorArgs << *v;
            else
                options.error = QStringLiteral("--sim-arg needs an argument");
        }
        else if (!arg.startsWith(u'-') && options.file.isEmpty())
            options.file = arg;
        else if (!arg.startsWith(u'-'))
            options.error = QStringLiteral("only one template can be opened");
        else
            options.error = QStringLiteral("unknown option '%1'").arg(arg);
        if (!options.error.isEmpty())
            break;
    }
    return options;
}

int CMorvaneApp::Run(int argc, char** argv)
{
    // --help and --version answer before Qt starts, so they work without a
    // display. Qt's own options (-platform ...) are not known yet and are
    // skipped here; the full parse below sees the arguments Qt leaves.
    for (int i = 1; i < argc; ++i)
    {
        const QByteArray arg(argv[i]);
        if (arg == "--help" || arg == "-h")
        {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--version")
        {
            std::printf("qelmorvane %s\n", QEL_VERSION_FULL);
            return 0;
        }
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QELMorvane"));
    QApplication::setApplicationVersion(QStringLiteral(QEL_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/app/qelmorvane.png")));
    // The desktop entry's id: lets the desktop match our windows to the entry
    // (its icon, its name in the task bar) and to start-up notification.
    QGuiApplication::setDesktopFileName(QStringLiteral(QEL_APP_ID));
    // Every window, message and Qt's own buttons in the user's language when
    // the program has a translation for it.
    InstallTranslations(app, TranslationsFolder(), QLocale());

    QStringList args = QApplication::arguments();
    args.removeFirst();
    const TStartOptions options = ParseStartOptions(args);
    if (!options.error.isEmpty())
    {
        std::fprintf(stderr, "qelmorvane: %s\n%s", qPrintable(options.error), kUsage);
        return 2;
    }

    // The one document, made before the main window and kept for the whole
    // run, with its history of changes.
    TLayout layout;
    CLayoutHistory history(layout);
    // The canvas opens at the zoom and grid the last run left.
    RememberCanvasSettings(QString());

    if (!options.tryFile.isEmpty())
    {
        if (const TFileResult loaded = LoadTemplateFile(layout, options.tryFile.toStdString()); !loaded)
        {
            std::fprintf(stderr, "qelmorvane: %s: %s\n", qPrintable(options.tryFile), loaded.reason.c_str());
            return 1;
        }
        CPanelPreview preview(layout);
        std::unique_ptr<CCloseWhenPainted> closer;
        if (options.exitWhenShown)
            closer = std::make_unique<CCloseWhenPainted>(&preview);
        preview.exec();
        return 0;
    }

    TMainOptions mainOptions;
    mainOptions.preselect = options.port;
    CSimulatorProcess simulator;
    if (options.simulate)
    {
        if (simulator.Start(CSimulatorProcess::DefaultProgram(), options.simulatorArgs))
        {
            mainOptions.extraPort = simulator.DevicePath();
            if (mainOptions.preselect.isEmpty())
                mainOptions.preselect = simulator.DevicePath();
        }
        else
        {
            UiServices().MessageBox(nullptr, simulator.Error(), QStringLiteral("QELMorvane"), EMsgButtons::Ok,
                                    EMsgIcon::Warning);
        }
    }

    CMorvaneDlg dialog(layout, history, mainOptions);
    // Before the command line's template, which asks about a layout restored here.
    CRecovery recovery(layout, history, *dialog.OpenFile());
    const bool restored = recovery.OfferLeftCopies(nullptr);
    if (!options.file.isEmpty())
    {
        COpenFile& file = *dialog.OpenFile();
        if (!restored)
            file.LoadFile(nullptr, options.file);
        // A layout restored from that very file is its newer state already.
        else if (QFileInfo(options.file).absoluteFilePath() != file.Path())
            file.LoadRecent(nullptr, options.file);
    }
    std::unique_ptr<CCloseWhenPainted> closer;
    if (options.exitWhenShown)
        closer = std::make_unique<CCloseWhenPainted>(&dialog);
    dialog.exec();
    return 0;
}
