#pragma once

#include "Btn8Ctrl.h"
#include "DialogTemplate.h"

#include <QDialog>

#include <array>

class CTextFieldEdit;

// "8 Button Page": the name shown on each of the page's eight buttons and the
// event text each one sends.
class CBtn8Dlg : public QDialog
{
public:
    static constexpr int kButtons = CBtn8Ctrl::kButtons;
    enum EControl : int
    {
        kOk = 1,
        kCancel = 2,
        // Row n holds name kName1 + 2 (n - 1) and event text kText1 + 2 (n - 1).
        kName1 = 1005,
        kText1 = 1006,
    };
    static constexpr int NameId(int button) { return kName1 + 2 * (button - 1); }
    static constexpr int TextId(int button) { return kText1 + 2 * (button - 1); }
    static const TDlgTemplate& Template();

    // Shows the page's texts; OK writes all sixteen back into it. Without a
    // page the rows start empty and OK stores nothing.
    explicit CBtn8Dlg(CBtn8Ctrl* page, QWidget* parent = nullptr);

    void accept() override;

private:
    CBtn8Ctrl* m_page;
    std::array<CTextFieldEdit*, kButtons> m_names{};
    std::array<CTextFieldEdit*, kButtons> m_texts{};
};
