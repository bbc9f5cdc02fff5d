#pragma once

#include "AtomicFile.h"

#include <cstddef>
#include <ctime>
#include <string>

class TLayout;

// Layouts read from panels before they are replaced, kept as templates under
// ROOT/CONTROL/YYYYMMDD-HHMMSS.qel, the newest kPanelBackupsKept per control.
// Folders are 0700 and files 0600: a layout may hold the panel's PINs.
constexpr size_t kPanelBackupsKept = 20;

// $XDG_DATA_HOME/qelmorvane/backups, ~/.local/share/qelmorvane/backups when
// it is not set; empty when neither is known.
std::string PanelBackupRoot();

// The control name as a folder name: characters a path cannot carry (and
// spaces) become "_", leading dots go, at most 64 bytes; "unnamed" when
// nothing is left.
std::string BackupFolderName(const std::u16string& controlName);

// Saves layout as the backup of its control, taken at when (local time), and
// drops that control's oldest backups beyond kPanelBackupsKept. Two backups
// of one control in the same second get "-2", "-3" ... after the time.
// savedPath names the file written.
TFileResult SavePanelBackup(TLayout& layout, std::string& savedPath,
                            const std::string& root = PanelBackupRoot(),
                            std::time_t when = std::time(nullptr));
