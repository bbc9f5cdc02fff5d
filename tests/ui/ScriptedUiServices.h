#pragma once

#include "UiServices.h"

#include <QPoint>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

// Answers from queues filled by a test and records what was asked. An empty
// queue answers as a person pressing Esc would: Cancel (or No, or Ok when that
// is the only button, or Restore where Esc does nothing), no file, no colour,
// no menu item, a dialog closed with Cancel.
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
    // walks a submenu; "Recent/1 /tmp/a.qel" finds a text with slashes); an
    // empty string picks nothing.
    std::deque<QString> menuAnswers;
    // Each dialog run takes the next answer, which works the shown dialog by
    // control id (and may itself open dialogs that take the answers after
    // it). A dialog still open when its answer returns is cancelled.
    std::deque<std::function<void(QDialog&)>> dialogAnswers;

    std::vector<TMessage> messages;
    std::vector<TFileDialogSpec> fileDialogs;
    QStringList menusShown;
    std::vector<QPoint> menuPositions;
    QStringList dialogsShown;
    std::vector<uint32_t> colourDialogStarts;

    EMsgResult MessageBox(QWidget* parent, const QString& text, const QString& caption, EMsgButtons buttons,
                          EMsgIcon icon) override;
    std::optional<QString> GetOpenFileName(QWidget* parent, const TFileDialogSpec& spec) override;
    std::optional<QString> GetSaveFileName(QWidget* parent, const TFileDialogSpec& spec) override;
    std::optional<uint32_t> ChooseColor(QWidget* parent, uint32_t initial) override;
    QAction* PopupMenu(QWidget* parent, QMenu& menu, const QPoint& globalPos) override;
    int ExecDialog(QDialog& dialog) override;
};
