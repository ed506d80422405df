#pragma once

#include "geometry.h"

#include <QHash>
#include <QString>
#include <QWidget>

#include <span>

namespace korvelan {

// The kinds of control a page is made of.
enum class ControlKind {
    Label,      // QLabel: text, font, colour, alignment
    Picture,    // QLabel that holds a picture
    Button,     // ColourButton: caption, tooltip, back colour
    ChoiceRows, // ChoiceList: rows chosen with the keyboard as a person expects
    RecordRows, // RecordList: rows that name a record
    LineBox,    // read-only QLineEdit
    TextBox,    // read-only, wrapping QPlainTextEdit
    RichText,   // RichTextView
    WordBox,    // editable QComboBox
};

// The font of a control; no points: the toolkit's own. The additive lists' font has character cells
// of a fixed width, so that their columns stand under their headings.
struct ControlFont {
    FontFace face = FontFace::Arial;
    double points = 0;
    bool bold = false;
    bool listColumns = false;
};
inline constexpr ControlFont ListColumns{FontFace::FixedPitch, 9, false, true};
inline constexpr ControlFont Arial9{FontFace::Arial, 9};
inline constexpr ControlFont Arial12{FontFace::Arial, 12};
inline constexpr ControlFont Arial12Bold{FontFace::Arial, 12, true};

// The alignments of the captions: at the top, from the left or centred.
inline constexpr Qt::Alignment TopLeft = Qt::AlignLeft | Qt::AlignTop;
inline constexpr Qt::Alignment TopCentred = Qt::AlignHCenter | Qt::AlignTop;

// One control of a page: its name, kind, place in twips, font, colour (0x00BBGGRR: text colour,
// or back colour of a button), alignment, text (caption of a label or button), tooltip and
// accessible name.
struct Control {
    const char16_t *name;
    ControlKind kind;
    double left, top, width, height;
    ControlFont font{};
    quint32 colour = 0;
    Qt::Alignment alignment = TopLeft;
    const char16_t *text = u"";
    const char16_t *tooltip = u"";
    const char16_t *accessibleName = u"";
};

// The controls built from a table, by name.
class Controls {
public:
    template <typename T = QWidget> T *get(const QString &name) const { return static_cast<T *>(m_byName.value(name)); }
    void insert(const QString &name, QWidget *widget) { m_byName.insert(name, widget); }

private:
    QHash<QString, QWidget *> m_byName;
};

// Builds the controls of a table on `parent`, in the order of the table; their places are taken
// from `origin` (in twips), the corner of the parent. A table that names a control twice is a
// mistake: nothing is built and std::invalid_argument is thrown.
Controls buildControls(QWidget *parent, std::span<const Control> table, QPointF origin = {});

// White ground and the text in `colour`, for the boxes and lists.
void setBoxColours(QWidget *widget, quint32 colour);

// "Name(i)", the name of a control of an array.
QString indexed(const char16_t *name, int i);

} // namespace korvelan
