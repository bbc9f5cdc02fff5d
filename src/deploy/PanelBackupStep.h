#pragma once

#include "PanelBackup.h"
#include "PanelLink.h"

#include <cstdint>
#include <string>

// The layout a panel holds, downloaded just before an upload replaces it and
// kept with SavePanelBackup.
struct TPanelBackupStep
{
    enum class EOutcome
    {
        Saved,    // path names the file written
        NoLayout, // the panel offered no layout: there was nothing to keep
        NotRead,  // the download failed or was stopped, or what came is no layout (read says which)
        NotSaved, // the layout came but could not be kept (reason says why)
    };
    EOutcome outcome = EOutcome::NotRead;
    TLinkResult read;        // the download's own result
    std::string controlName; // of the layout read, in UTF-8
    std::string path;
    std::string reason;

    // The layout was neither kept nor missing: the upload must not go on.
    bool StopsUpload() const { return outcome == EOutcome::NotRead || outcome == EOutcome::NotSaved; }
};

// Downloads the panel's layout on a link connected at 9600 baud (as it is
// after RequestInfo) and keeps it under root. Unless the port itself failed,
// the link is back at 9600 baud, so an upload may follow.
TPanelBackupStep BackUpPanelLayout(CPanelLink& link, int32_t firmwareVersion, IProgressSink& progress,
                                   const std::string& root = PanelBackupRoot());

// Why a step that was NotRead or NotSaved stopped the upload, on one line
// ending "Nothing sent".
std::string BackupFailure(const TPanelBackupStep& step);
