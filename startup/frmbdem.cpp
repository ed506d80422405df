#include "frmbdem.h"

#include "constants.h"
#include "failure.h"
#include "geometry.h"
#include "palette.h"
#include "widgets.h"

#include <QFrame>
#include <QLabel>

using namespace Qt::StringLiterals;

namespace korvelan {
namespace {

// The frame that holds everything visible, in twips; the window is cut to it plus a margin.
constexpr double kFrameLeft = 60, kFrameTop = 0, kFrameWidth = 5295, kFrameHeight = 4185, kMargin = 120;

} // namespace

QRectF splashGeometry(QSizeF screenTwips)
{
    const QSizeF size(kFrameLeft + kFrameWidth + kMargin, kFrameTop + kFrameHeight + kMargin);
    return QRectF(placeOnScreen(screenTwips, size, 4.0), size);
}

FrmBDem::FrmBDem(Services services, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), TimDeb(new OneShotTimer(u"TimDeb"_s, this)),
      TimBDD(new OneShotTimer(u"TimBDD"_s, this)), TimMotCle(new OneShotTimer(u"TimMotCle"_s, this)),
      TimFin(new OneShotTimer(u"TimFin"_s, this)), m_services(std::move(services))
{
    setObjectName(u"FrmBDem"_s);
    setAccessibleName(u"Chargement de Les KORVELAN"_s);
    setBackground(this, colour::LightGrey);

    auto *fraCache = new QFrame(this);
    fraCache->setObjectName(u"FraCache"_s);
    fraCache->setGeometry(twipsRect(kFrameLeft, kFrameTop, kFrameWidth, kFrameHeight));

    m_logo = new QLabel(fraCache);
    m_logo->setObjectName(u"ImgLogo"_s);
    m_logo->setGeometry(twipsRect(60, 300, 5175, 720));

    auto *shape = new QFrame(fraCache);
    shape->setObjectName(u"Shape1"_s);
    shape->setGeometry(twipsRect(1080, 1260, 3150, 345));
    shape->setStyleSheet(u"QFrame#Shape1 { border: 1px solid #808080; background: transparent; }"_s);

    m_version = makeLabel(fraCache, u"LblVersion"_s, QString(), twipsRect(1140, 1320, 3035, 255),
                          programFont(FontFace::MsSansSerif, 9.75), colour::Black, Qt::AlignHCenter | Qt::AlignTop);
    makeLabel(fraCache, u"Lbl(2)"_s, u"Utilitaire sur les additifs alimentaires"_s, twipsRect(60, 2160, 5190, 315),
              programFont(FontFace::Verdana, 12), colour::DarkRed, Qt::AlignHCenter | Qt::AlignTop);
    makeLabel(fraCache, u"Lbl(0)"_s, u"Chargement de la base de données"_s, twipsRect(60, 2880, 5190, 315),
              programFont(FontFace::Calibri, 12), colour::Black, Qt::AlignHCenter | Qt::AlignTop);
    makeLabel(fraCache, u"Lbl(1)"_s, u"Patientez..."_s, twipsRect(60, 3180, 5190, 315),
              programFont(FontFace::Calibri, 12), colour::Black, Qt::AlignHCenter | Qt::AlignTop);

    // The picture store: it lies right of what stays visible of the window.
    m_pictureStore = new QLabel(this);
    m_pictureStore->setObjectName(u"ImgM"_s);
    m_pictureStore->setGeometry(twipsRect(5820, 1320, 5175, 720));
    m_pictureStore->setPixmap(programPicture(u":/pictures/logo_splash.png"_s, QSize(345, 48), devicePixelRatio()));

    connect(TimDeb, &OneShotTimer::tick, this, &FrmBDem::showStep);
    connect(TimBDD, &OneShotTimer::tick, this, &FrmBDem::loadDatabaseStep);
    connect(TimMotCle, &OneShotTimer::tick, this, &FrmBDem::loadKeywordsStep);
    connect(TimFin, &OneShotTimer::tick, this, &FrmBDem::openMainWindowStep);
}

void FrmBDem::load()
{
    m_logo->setPixmap(m_pictureStore->pixmap());
    m_version->setText(u"Version "_s + AppVersion);
    startStep(TimDeb, 30, m_services.startStep);
}

void FrmBDem::showStep()
{
    TimDeb->setInterval(0);
    setCursor(Qt::WaitCursor);
    const QSize screen = m_services.screenSize ? m_services.screenSize() : korvelan::screenSize();
    const QRectF twips = splashGeometry(QSizeF(screen.width() * kTwipsPerPixel, screen.height() * kTwipsPerPixel));
    setGeometry(twipsRect(twips.left(), twips.top(), twips.width(), twips.height()));
    show();
    startStep(TimBDD, 500, m_services.startStep);
}

void FrmBDem::loadDatabaseStep()
{
    TimBDD->setInterval(0);
    DatabaseLoad load = loadAdditiveTable(m_services.read);
    m_services.data->additives = std::move(load.table);
    if (load.failure)
        reportFailure(*load.failure, kDatabaseErrorCode);
    startStep(TimMotCle, 500, m_services.startStep);
}

void FrmBDem::loadKeywordsStep()
{
    TimMotCle->setInterval(0);
    KeywordLoad load = loadKeywordIndex(m_services.read);
    m_services.data->keywords = std::move(load.index);
    if (load.failure)
        reportFailure(*load.failure, kKeywordErrorCode);
    startStep(TimFin, 500, m_services.startStep);
}

void FrmBDem::openMainWindowStep()
{
    TimFin->setInterval(0);
    setCursor(Qt::ArrowCursor);
    if (m_services.loadMainWindow)
        m_services.loadMainWindow(*this);
}

void FrmBDem::reportFailure(LoadFailure failure, int code)
{
    m_services.boxes->show(MessageIcon::Critical, AppTitle, startupErrorText(failure, code), MessageButtons::Ok);
}

} // namespace korvelan
