#pragma once

#include "Layout.h"
#include "ScrollDialog.h"

#include <array>

class CTextFieldEdit;

// "User Event Definitions": for each of the layout's 24 user events a
// description for the installer and the event text. A scrolling dialog, as
// its rows need more height than many screens have.
class CEventDef : public CScrollDialog
{
public:
    static constexpr int kEvents = TLayout::kEvents;
    // The edits of the first six events have ids of their own; from event 7
    // on, description 1041 + n and text 1017 + n.
    enum EControl : int
    {
        kOk = 1,
        kCancel = 2,
        kDescription1 = 1019,
        kText1 = 1017,
        kDescription2 = 1021,
        kText2 = 1023,
        kDescription3 = 1044,
        kText3 = 1020,
        kDescription4 = 1045,
        kText4 = 1081,
        kDescription5 = 1046,
        kText5 = 1022,
        kDescription6 = 1047,
        kText6 = 1018,
        kDescription7 = 1048,
        kText7 = 1024,
    };
    // The edits of event n, 1 to 24.
    static int DescriptionId(int event);
    static int TextId(int event);
    static const TDlgTemplate& Template();

    // Shows the layout's events; OK writes all 48 fields back into it.
    explicit CEventDef(TLayout& layout, QWidget* parent = nullptr);

    void accept() override;

private:
    TLayout& m_layout;
    std::array<CTextFieldEdit*, kEvents> m_descriptions{};
    std::array<CTextFieldEdit*, kEvents> m_texts{};
};
