#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

class QAction;
class QDialog;
class QMenu;
class QPoint;
class QWidget;

enum class EMsgButtons
{
    Ok,
    OkCancel,
    YesNo,
    // Before an action that would drop unsaved changes; Save is the default
    // button and Esc cancels.
    SaveDiscardCancel,
    // A layout left behind by a crash; Restore is the default button and Esc
    // does nothing, so that no key press alone throws the layout away.
    RestoreDiscard,
};

enum class EMsgIcon
{
    None,
    Information,
    Warning,
    Error,
    Question,
};

enum class EMsgResult
{
    Ok,
    Cancel,
    Yes,
    No,
    Save,
    Discard,
    Restore,
};

// One file dialog: a filter in the classic "Name (*.x)|*.x|All Files (*.*)|*.*||"
// form, the first entry preselected; the extension added to a typed name that
// has none; an initial file name.
struct TFileDialogSpec
{
    QString filter;
    QString defaultExt;
    QString initialName;
};

// Everything that waits for a person outside the dialogs themselves goes
// through here, so tests can answer without one.
class IUiServices
{
public:
    virtual ~IUiServices() = default;

    virtual EMsgResult MessageBox(QWidget* parent, const QString& text, const QString& caption,
                                  EMsgButtons buttons, EMsgIcon icon) = 0;
    // The chosen path, or nothing when cancelled.
    virtual std::optional<QString> GetOpenFileName(QWidget* parent, const TFileDialogSpec& spec) = 0;
    virtual std::optional<QString> GetSaveFileName(QWidget* parent, const TFileDialogSpec& spec) = 0;
    // A colour (red in the lowest byte), or nothing when cancelled.
    virtual std::optional<uint32_t> ChooseColor(QWidget* parent, uint32_t initial) = 0;
    // Shows a popup menu with its top-left corner at a global position; the
    // chosen action or null.
    virtual QAction* PopupMenu(QWidget* parent, QMenu& menu, const QPoint& globalPos) = 0;
    // Runs a dialog modally (a dialog opened from a dialog among them) and
    // gives its result, QDialog::Accepted or QDialog::Rejected.
    virtual int ExecDialog(QDialog& dialog) = 0;
};

// The real dialogs.
class CQtUiServices : public IUiServices
{
public:
    EMsgResult MessageBox(QWidget* parent, const QString& text, const QString& caption, EMsgButtons buttons,
                          EMsgIcon icon) override;
    std::optional<QString> GetOpenFileName(QWidget* parent, const TFileDialogSpec& spec) override;
    std::optional<QString> GetSaveFileName(QWidget* parent, const TFileDialogSpec& spec) override;
    std::optional<uint32_t> ChooseColor(QWidget* parent, uint32_t initial) override;
    QAction* PopupMenu(QWidget* parent, QMenu& menu, const QPoint& globalPos) override;
    int ExecDialog(QDialog& dialog) override;
};

// The services in use: the real dialogs unless a test has put in its own.
IUiServices& UiServices();

// Puts other services in place for its lifetime.
class CUiServicesOverride
{
public:
    explicit CUiServicesOverride(IUiServices& services);
    ~CUiServicesOverride();
    CUiServicesOverride(const CUiServicesOverride&) = delete;
    CUiServicesOverride& operator=(const CUiServicesOverride&) = delete;

private:
    IUiServices* m_previous;
};

// Turns a "Name (*.x)|*.x|All Files (*.*)|*.*||" filter into Qt's list form.
QStringList FilterToQt(const QString& filter);
// The path with the extension added when it has none.
QString WithDefaultExtension(const QString& path, const QString& ext);
// A menu or button caption without its mnemonic marks ("&&" stays "&").
QString StripMnemonic(QString text);

// Where a popup menu's top-left corner goes for it to stand in a given way
// to an anchor point (global coordinates).
enum class EPopupPlacement
{
    LeftVCentre,  // left edge at the point, vertically centred on it
    HCentreAbove, // horizontally centred on the point, bottom edge at it
};
QPoint PopupTopLeft(const QMenu& menu, const QPoint& anchor, EPopupPlacement placement);
