#pragma once

#include "ProgressSink.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// The progress window of the three transfers: modeless, shown while the
// transfer runs on a thread of its own (CLinkWorker) and the event loop goes
// on. Its owner destroys it when the transfer ends, or as an exception unwinds.
class CFirmwareUpgrade : public QDialog, public IProgressSink
{
    Q_OBJECT

public:
    // reading: a download, which changes the text shown.
    explicit CFirmwareUpgrade(QWidget* parent, bool reading = false);

    // Shows the window and paints it before the transfer's first wait.
    void Start();
    // Position from 0 to 1000; larger values show a full bar.
    void SetPosition(int32_t position) override;

    // The link's calls: Begin shows the window (again) with the text of the
    // transfer's direction; End hides it.
    void Begin(bool reading) override;
    void End() override;

    QPushButton* CancelButton() const;

    bool m_reading;
    QProgressBar* m_progress;
    QLabel* m_status;

private:
    void PaintNow();
};
