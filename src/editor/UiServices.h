#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

class QAction;
class QMenu;
class QPoint;
class QWidget;

enum class EMsgButtons
{
    Ok,
    OkCancel,
    YesNo,
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
    // Shows a popup menu at a global position; the chosen action or null.
    virtual QAction* PopupMenu(QWidget* parent, QMenu& menu, const QPoint& globalPos) = 0;
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
};

// Answers from queues filled by a test and records what was asked. An empty
// queue answers as a person pressing Esc would: Cancel (or No, or Ok when that
// is the only button), no file, no colour, no menu item.
class CScriptedUiServices : public IUiServices
{
public:
    struct TMessage
    {
        QString text;
        QString caption;
        EMsgButtons buttons;
        EMsgIcon icon;
    };

    std::deque<EMsgResult> messageAnswers;
    std::deque<std::optional<QString>> openAnswers;
    std::deque<std::optional<QString>> saveAnswers;
    std::deque<std::optional<uint32_t>> colourAnswers;
    // Menu answers name an action by its text without mnemonics ("Add/Button"
    // walks a submenu); an empty string picks nothing.
    std::deque<QString> menuAnswers;

    std::vector<TMessage> messages;
    std::vector<TFileDialogSpec> fileDialogs;
    QStringList menusShown;

    EMsgResult MessageBox(QWidget* parent, const QString& text, const QString& caption, EMsgButtons buttons,
                          EMsgIcon icon) override;
    std::optional<QString> GetOpenFileName(QWidget* parent, const TFileDialogSpec& spec) override;
    std::optional<QString> GetSaveFileName(QWidget* parent, const TFileDialogSpec& spec) override;
    std::optional<uint32_t> ChooseColor(QWidget* parent, uint32_t initial) override;
    QAction* PopupMenu(QWidget* parent, QMenu& menu, const QPoint& globalPos) override;
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
