#include "ScriptedUiServices.h"

#include <QAction>
#include <QDialog>
#include <QMenu>

namespace
{

// The next scripted file name; none when the script is used up or says Cancel.
std::optional<QString> TakeAnswer(std::deque<std::optional<QString>>& answers)
{
    if (answers.empty())
        return std::nullopt;
    const bool chosen = answers.front().has_value();
    QString name = chosen ? *answers.front() : QString();
    answers.pop_front();
    if (!chosen)
        return std::nullopt;
    return name;
}

QAction* FindAction(QMenu& menu, const QStringList& path, int depth)
{
    for (QAction* action : menu.actions())
    {
        if (action->isSeparator())
            continue;
        // The rest of the answer whole: a text with slashes of its own (a file's path).
        if (action->menu() == nullptr && StripMnemonic(action->text()) == path.mid(depth).join(u'/'))
            return action->isEnabled() ? action : nullptr;
        if (StripMnemonic(action->text()) != path[depth])
            continue;
        if (depth + 1 == path.size())
            return action->isEnabled() ? action : nullptr;
        if (action->menu() != nullptr)
            return FindAction(*action->menu(), path, depth + 1);
    }
    return nullptr;
}

} // namespace

EMsgResult CScriptedUiServices::MessageBox(QWidget*, const QString& text, const QString& caption,
                                           EMsgButtons buttons, EMsgIcon icon)
{
    messages.push_back({text, caption, buttons, icon});
    if (!messageAnswers.empty())
    {
        const EMsgResult answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }
    switch (buttons)
    {
    case EMsgButtons::Ok:
        return EMsgResult::Ok;
    case EMsgButtons::OkCancel:
    case EMsgButtons::SaveDiscardCancel:
        return EMsgResult::Cancel;
    case EMsgButtons::RestoreDiscard:
        // Esc does nothing there; the default button keeps the layout.
        return EMsgResult::Restore;
    case EMsgButtons::YesNo:
        break;
    }
    return EMsgResult::No;
}

std::optional<QString> CScriptedUiServices::GetOpenFileName(QWidget*, const TFileDialogSpec& spec)
{
    fileDialogs.push_back(spec);
    return TakeAnswer(openAnswers);
}

std::optional<QString> CScriptedUiServices::GetSaveFileName(QWidget*, const TFileDialogSpec& spec)
{
    fileDialogs.push_back(spec);
    std::optional<QString> answer = TakeAnswer(saveAnswers);
    if (answer)
        *answer = WithDefaultExtension(*answer, spec.defaultExt);
    return answer;
}

std::optional<uint32_t> CScriptedUiServices::ChooseColor(QWidget*, uint32_t initial)
{
    colourDialogStarts.push_back(initial);
    if (colourAnswers.empty())
        return std::nullopt;
    std::optional<uint32_t> answer = colourAnswers.front();
    colourAnswers.pop_front();
    return answer;
}

QAction* CScriptedUiServices::PopupMenu(QWidget*, QMenu& menu, const QPoint& globalPos)
{
    QStringList shown;
    for (QAction* action : menu.actions())
        if (!action->isSeparator())
            shown << StripMnemonic(action->text());
    menusShown << shown.join(u',');
    menuPositions.push_back(globalPos);
    if (menuAnswers.empty())
        return nullptr;
    const QString answer = menuAnswers.front();
    menuAnswers.pop_front();
    if (answer.isEmpty())
        return nullptr;
    return FindAction(menu, answer.split(u'/'), 0);
}

int CScriptedUiServices::ExecDialog(QDialog& dialog)
{
    dialogsShown << dialog.windowTitle();
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    if (!dialogAnswers.empty())
    {
        // Taken off the queue first: the answer may open dialogs of its own.
        const std::function<void(QDialog&)> answer = std::move(dialogAnswers.front());
        dialogAnswers.pop_front();
        answer(dialog);
    }
    if (dialog.isVisible())
        dialog.reject();
    return dialog.result();
}
