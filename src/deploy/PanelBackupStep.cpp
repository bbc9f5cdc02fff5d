#include "PanelBackupStep.h"

#include "LinkText.h"

#include "Layout.h"
#include "TextField.h"

TPanelBackupStep BackUpPanelLayout(CPanelLink& link, int32_t firmwareVersion, IProgressSink& progress,
                                   const std::string& root)
{
    TPanelBackupStep step;
    TLayout current;
    step.read = link.RunLayoutDownload(firmwareVersion, progress,
                                       [&current](const uint8_t* bytes, int32_t length)
                                       { return current.LoadFromBuffer(bytes, length); });
    if (step.read.outcome == ELinkOutcome::NoLayout)
    {
        step.outcome = TPanelBackupStep::EOutcome::NoLayout;
        return step;
    }
    if (step.read.outcome != ELinkOutcome::Ok)
        return step;
    step.controlName = WideToUtf8(current.controlName);
    if (const TFileResult saved = SavePanelBackup(current, step.path, root); !saved)
    {
        step.outcome = TPanelBackupStep::EOutcome::NotSaved;
        step.reason = saved.reason;
        step.path.clear();
        return step;
    }
    step.outcome = TPanelBackupStep::EOutcome::Saved;
    return step;
}

std::string BackupFailure(const TPanelBackupStep& step)
{
    if (step.outcome == TPanelBackupStep::EOutcome::NotSaved)
        return "backup not saved: " + step.reason + "; Nothing sent";
    return OneLine(step.read.message) + "; backup failed, Nothing sent";
}
