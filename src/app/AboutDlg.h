#pragma once

#include <QDialog>

// Controls of the about box that tests look for.
constexpr int kAboutVersionId = 1101; // "QELMorvane, Version X.Y.Z"
constexpr int kAboutBuildId = 1102;   // the git commit it was built from, or empty

// The about box: the icon, the program's name and version, OK.
class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
