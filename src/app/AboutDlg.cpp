#include "AboutDlg.h"

#include "DialogTemplate.h"
#include "QelVersion.h"

namespace
{

const TDlgTemplate& AboutTemplate()
{
    // The commit a checkout was built from goes on a line of its own under
    // the icon; a build from a tarball leaves that line empty.
    static const TDlgTemplate tmpl{
        100,
        QStringLiteral("About QELMorvane"),
        170,
        62,
        {
            {kStaticId, EControlKind::Icon, {}, 14, 14, 21, 20},
            {kAboutVersionId, EControlKind::Static, QStringLiteral("QELMorvane, Version " QEL_VERSION), 42,
             14, 114, 8},
            {kStaticId, EControlKind::Static, QStringLiteral("Configuration tool for the QEL-1 panel"), 42,
             26, 114, 8},
            {kAboutBuildId, EControlKind::Static, QStringLiteral(QEL_VERSION_DESCRIBE), 14, 44, 96, 8},
            {1, EControlKind::DefButton, QStringLiteral("OK"), 113, 41, 50, 14},
        },
    };
    return tmpl;
}

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    BuildDialog(this, AboutTemplate());
}
