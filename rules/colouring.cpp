#include "colouring.h"

using namespace Qt::StringLiterals;

namespace korvelan {

quint32 authorisationColour(QStringView text)
{
    return text == u"Interdit" ? colour::Red : colour::Black;
}

RiskColours riskColours(QStringView text)
{
    if (text == u"1")
        return {colour::Green, colour::Grey};
    if (text == u"2")
        return {colour::Orange, colour::Grey};
    if (text == u"3")
        return {colour::Magenta, colour::Grey};
    if (text == u"4")
        return {colour::Red, colour::Red};
    if (text == u"?")
        return {colour::Black, colour::Grey};
    return {colour::Red, std::nullopt};
}

QString riskLegendText()
{
    return u"1 = Additifs considérés à ce jour comme inoffensifs. Sans danger.\r\n"
           u"2 = Additifs dont les rapports scientifiques sont contradictoires.\r\n"
           u"       Sans danger à faible dose.\r\n"
           u"3 = Additifs douteux qu'il vaut mieux éviter, toxiques.\r\n"
           u"4 = Additifs dangereux et toxiques pour la santé."_s;
}

QString dailyIntakeLegendText()
{
    return u"DJA = dose journalière admissible (exprimée en mg/kg)."_s;
}

} // namespace korvelan
