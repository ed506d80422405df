#include "labelwindow.h"

#include "controltable.h"
#include "geometry.h"
#include "listline.h"
#include "palette.h"
#include "recordlist.h"
#include "rownumber.h"
#include "windowcontrols.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace korvelan {

LabelWindow::LabelWindow(const AdditiveTable &table, QWidget *parent)
    : QWidget(parent, Qt::Window), m_table(table), m_analyser(table, labelNamesText()),
      m_txtEtiquette(new QPlainTextEdit(this)), m_lstEtiquette(new RecordList(this)), m_lblEtiquette(new QLabel(this))
{
    setObjectName(u"FrmEtiquette"_s);
    setWindowTitle(u"Analyser une étiquette"_s);
    setWindowIcon(programIcon());

    auto *lblTexte = new QLabel(u"&Liste des ingrédients, tapée ou collée :"_s, this);
    lblTexte->setBuddy(m_txtEtiquette);
    m_txtEtiquette->setObjectName(u"TxtEtiquette"_s);
    m_txtEtiquette->setAccessibleName(u"Liste des ingrédients"_s);
    m_txtEtiquette->setPlaceholderText(u"Ingrédients : sucre, émulsifiant : lécithines de SOJA, E330..."_s);
    m_txtEtiquette->setTabChangesFocus(true);

    auto *lblListe = new QLabel(u"&Additifs trouvés :"_s, this);
    lblListe->setBuddy(m_lstEtiquette);
    m_lstEtiquette->setObjectName(u"LstEtiquette"_s);
    m_lstEtiquette->setAccessibleName(u"Additifs trouvés"_s);
    m_lstEtiquette->setFont(listFont());
    setBoxColours(m_lstEtiquette, colour::Brown);
    m_lblEtiquette->setObjectName(u"LblEtiquette"_s);
    m_lblEtiquette->setAccessibleName(u"Nombre d'additifs trouvés"_s);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblTexte);
    layout->addWidget(m_txtEtiquette, 2);
    layout->addWidget(lblListe);
    layout->addWidget(m_lstEtiquette, 3);
    layout->addWidget(m_lblEtiquette);
    // As wide as a row up to its France column, as the main window's lists show it: the "$" and the
    // number behind it stay out of sight.
    const QMargins margins = layout->contentsMargins();
    const int listWidth = QFontMetrics(listFont()).horizontalAdvance(QString(82, u'M')) +
        2 * m_lstEtiquette->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_lstEtiquette);
    resize(listWidth + margins.left() + margins.right(), 520);

    connect(m_txtEtiquette, &QPlainTextEdit::textChanged, this, &LabelWindow::analyse);
    connect(m_lstEtiquette, &RecordList::recordChosen, this, &LabelWindow::recordChosen);
    connect(m_lstEtiquette, &RecordList::selectionError, this, &LabelWindow::selectionError);
    // Enter on the row already chosen shows it again, as a click on it does.
    connect(m_lstEtiquette, &QListWidget::activated, this, [this](const QModelIndex &index) {
        const RowNumber number = rowRecordNumber(index.data().toString());
        if (number.ok())
            Q_EMIT recordChosen(number.record);
    });
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
    analyse();
}

void LabelWindow::analyse()
{
    const QList<LabelFinding> found = m_analyser.analyse(m_txtEtiquette->toPlainText());
    QStringList rows;
    rows.reserve(found.size());
    for (const LabelFinding &f : found)
        rows.append(ListLine(m_table, f.record));
    m_lstEtiquette->clear();
    m_lstEtiquette->addItems(rows);
    m_lblEtiquette->setText(labelCountCaption(found.size()));
}

void LabelWindow::showBeside(const QWidget &main)
{
    if (!isVisible()) {
        const QRect frame = main.frameGeometry();
        const QScreen *screen = main.screen() ? main.screen() : QGuiApplication::primaryScreen();
        const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
        QPoint at(frame.right() + 8, frame.top());
        if (at.x() + width() > room.right())
            at.setX(std::max(room.left(), frame.left() - width() - 8));
        move(at);
    }
    show();
    raise();
    activateWindow();
    m_txtEtiquette->setFocus();
}

} // namespace korvelan
