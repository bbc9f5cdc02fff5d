#include "FirmwareUpgrade.h"

#include "DialogTemplate.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace
{

const TDlgTemplate& ProgressTemplate()
{
    static const TDlgTemplate tmpl{
        129,
        QT_TRANSLATE_NOOP("Dialog", "Progress"),
        309,
        75,
        {
            {1008, EControlKind::Static, QT_TRANSLATE_NOOP("Dialog", "Writing Data to the Control"),
             75, 15, 142, 8, kStyleCentre},
            {1004, EControlKind::ProgressBar, {}, 17, 32, 276, 14, kStyleBorder},
            {2, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Cancel"), 124, 54, 50, 14},
        },
    };
    return tmpl;
}

} // namespace

CFirmwareUpgrade::CFirmwareUpgrade(QWidget* parent, bool reading)
    : QDialog(parent), m_reading(reading), m_progress(nullptr), m_status(nullptr)
{
    BuildDialog(this, ProgressTemplate());
    setModal(false);
    m_progress = DlgItem<QProgressBar>(this, 1004);
    m_status = DlgItem<QLabel>(this, 1008);
    m_progress->setRange(0, 1000);
    m_progress->setValue(0);
    if (m_reading)
        m_status->setText(tr("Reading Data From The Control"));
}

void CFirmwareUpgrade::Start()
{
    show();
}

void CFirmwareUpgrade::Begin(bool reading)
{
    m_reading = reading;
    m_status->setText(reading ? tr("Reading Data From The Control") : tr("Writing Data to the Control"));
    m_progress->setValue(0);
    if (isVisible())
        PaintNow();
    else
        Start();
}

void CFirmwareUpgrade::End() { hide(); }

QPushButton* CFirmwareUpgrade::CancelButton() const
{
    return DlgItem<QPushButton>(this, 2);
}

void CFirmwareUpgrade::SetPosition(int32_t position)
{
    m_progress->setValue(std::clamp(position, 0, 1000));
    PaintNow();
}

void CFirmwareUpgrade::PaintNow()
{
    repaint();
    m_progress->repaint();
}
