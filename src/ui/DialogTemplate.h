#pragma once

#include <QString>
#include <QWidget>

#include <cstdint>
#include <vector>

class QDialog;
class QFont;

// The kinds of control a dialog template can hold.
enum class EControlKind
{
    Static,    // a text label
    Edit,      // a one-line or multi-line text field
    Button,    // a push button
    DefButton, // the default push button
    CheckBox,
    RadioButton,
    GroupBox,
    ListBox,
    ComboBox,
    ProgressBar,
    Icon,  // the application icon
    Frame, // an empty frame that other code fills (a canvas, a preview)
};

// Style flags; only those that make sense for a kind are honoured.
enum EControlStyle : uint32_t
{
    kStyleNone = 0,
    kStyleMultiLine = 1u << 0,
    kStyleReadOnly = 1u << 1,
    kStyleVScroll = 1u << 2,
    kStyleHScroll = 1u << 3,
    kStyleBorder = 1u << 4,
    kStyleCentre = 1u << 5,   // centred text
    kStyleRight = 1u << 6,    // right-aligned text
    kStyleSorted = 1u << 7,   // list or combo items kept in text order
    kStyleEditable = 1u << 8, // combo box with an edit field
    kStyleDisabled = 1u << 9,
    kStyleHidden = 1u << 10,
    kStyleMultiSelect = 1u << 11, // list box with extended selection
    kStylePassword = 1u << 12,
    kStyleNumber = 1u << 13, // edit field accepting digits only
    kStyleAutoHScroll = 1u << 14,
    // Starts a group: the radio buttons from this control up to the next
    // control that starts one are exclusive among themselves.
    kStyleGroup = 1u << 15,
};

// Control id of labels and frames that nothing looks up.
constexpr int kStaticId = -1;

// One control: its id, kind, caption and rectangle in dialog units. A caption
// is the English text; BuildDialog shows its translation.
struct TDlgControl
{
    int id = kStaticId;
    EControlKind kind = EControlKind::Static;
    QString caption;
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    uint32_t style = kStyleNone;
};

// A dialog template: title, client size in dialog units, controls in tab order.
struct TDlgTemplate
{
    int id = 0;
    QString title;
    int w = 0;
    int h = 0;
    std::vector<TDlgControl> controls;
};

// Converts dialog units to pixels with a font's average character size, the
// way dialog templates have always been laid out.
class CDialogUnits
{
public:
    explicit CDialogUnits(const QFont& font);

    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
    QRect ToPixels(int x, int y, int w, int h) const;

private:
    int m_baseX;
    int m_baseY;
};

// Builds the controls of a template into a dialog (or any widget): sets the
// title and a fixed client size, creates every control at its place with its
// caption, names each control after its id (objectName "1001") and wires the
// buttons with ids 1 and 2 to accept() and reject() when the widget is a
// dialog. The title and the captions (but an edit field's initial text) are
// translated in the context "Dialog", where templates mark them with
// QT_TRANSLATE_NOOP("Dialog", "..."). Returns the dialog units used.
CDialogUnits BuildDialog(QWidget* dialog, const TDlgTemplate& tmpl);

// Finds a control by id in a built dialog; null when absent or of another type.
template <typename T> T* DlgItem(const QWidget* dialog, int id)
{
    return dialog->findChild<T*>(QString::number(id));
}

// Puts a widget of our own (a preview, the page canvas) over a control of the
// template, which stays where it is: the widget takes the control's rectangle
// moved inwards by the margins (negative margins move an edge outwards) and
// lies above it. The widget is named after newId unless that is kStaticId.
// Returns the widget.
QWidget* PlaceOverControl(QWidget* dialog, int controlId, QWidget* widget, const QMargins& inset, int newId);

// Puts a widget of our own in a control's place: it takes the control's
// rectangle, id, visibility, enabled state and place in the tab order, and
// the control is deleted. Returns the widget.
QWidget* ReplaceControl(QWidget* dialog, int controlId, QWidget* widget);

// The rectangle of a control in the dialog's client coordinates.
QRect ControlRect(const QWidget* dialog, int controlId);

// Checks or unchecks a radio button, also when that leaves its group with
// none checked (a face of an unknown kind checks none of them).
void SetRadioChecked(const QWidget* dialog, int controlId, bool checked);
bool IsChecked(const QWidget* dialog, int controlId);

class QComboBox;
class QListWidget;
// Adds an item to a combo box, in text order when the combo was built sorted
// (case-insensitive, as list controls sort); returns its index.
int AddComboItem(QComboBox* combo, const QString& text, const QVariant& data);
