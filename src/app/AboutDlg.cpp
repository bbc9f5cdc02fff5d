#include "AboutDlg.h"

#include "DialogTemplate.h"
#include "QelVersion.h"

#include <QLabel>

namespace
{

const TDlgTemplate& AboutTemplate()
{
    // The commit a checkout was built from goes on a line of its own under
    // the icon; a build from a tarball leaves that line empty.
    static const TDlgTemplate tmpl{
        100,
        QT_TRANSLATE_NOOP("Dialog", "About QELMorvane"),
        170,
        62,
        {
            {kStaticId, EControlKind::Icon, {}, 14, 14, 21, 20},
            {kAboutVersionId, EControlKind::Static, QT_TRANSLATE_NOOP("Dialog", "QELMorvane, Version %1"), 42,
             14, 114, 8},
            {kStaticId, EControlKind::Static,
             QT_TRANSLATE_NOOP("Dialog", "Configuration tool for the QEL-1 panel"), 42, 26, 114, 8},
            {kAboutBuildId, EControlKind::Static, QStringLiteral(QEL_VERSION_DESCRIBE), 14, 44, 96, 8},
            {1, EControlKind::DefButton, QT_TRANSLATE_NOOP("Dialog", "OK"), 113, 41, 50, 14},
        },
    };
    return tmpl;
}

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    BuildDialog(this, AboutTemplate());
    // The template names the version as %1.
    auto* version = DlgItem<QLabel>(this, kAboutVersionId);
    version->setText(version->text().arg(QStringLiteral(QEL_VERSION)));
}
