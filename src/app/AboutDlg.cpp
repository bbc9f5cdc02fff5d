#include "AboutDlg.h"

#include "DialogTemplate.h"

#ifndef QEL_VERSION
#define QEL_VERSION "0.0.0"
#endif

namespace
{

const TDlgTemplate& AboutTemplate()
{
    static const TDlgTemplate tmpl{
        100,
        QStringLiteral("About QELMorvane"),
        170,
        62,
        {
            {kStaticId, EControlKind::Icon, {}, 14, 14, 21, 20},
            {kStaticId, EControlKind::Static, QStringLiteral("QELMorvane, Version " QEL_VERSION), 42, 14, 114, 8},
            {kStaticId, EControlKind::Static, QStringLiteral("Configuration tool for the QEL-1 panel"), 42, 26, 114,
             8},
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
