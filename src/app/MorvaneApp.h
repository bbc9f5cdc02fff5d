#pragma once

#include <QString>
#include <QStringList>

// What the command line asks of the program.
struct TStartOptions
{
    bool simulate = false;     // start a simulated panel and select it
    QString port;              // a device path to preselect
    QStringList simulatorArgs; // passed on to "qelctl simulate"
    bool help = false;
    bool version = false;
    QString tryFile;           // a template to open in the panel preview instead of the main window
    QString file;              // a template to open at start, as Load does
    bool exitWhenShown = false; // close once the main window has painted (start-up timing)
    QString error;              // a usage error, when not empty
};

TStartOptions ParseStartOptions(const QStringList& args);

// The application object: starts Qt, makes the one layout document, starts
// the simulated panel when asked, runs the main window (or, with --try, the
// panel preview on a template) and returns when it closes.
class CMorvaneApp
{
public:
    int Run(int argc, char** argv);
};
