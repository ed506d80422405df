#include "rtflexer.h"

#include <algorithm>
#include <iterator>

namespace korvelan::rtf {
namespace {

struct WordEntry {
    std::string_view name;
    Word word;
};

// Sorted by name for the binary search in lookupWord().
constexpr WordEntry kWords[] = {
    {"aftncn", Word::SkipGroup}, {"aftnsep", Word::SkipGroup}, {"aftnsepc", Word::SkipGroup},
    {"annotation", Word::SkipGroup}, {"ansi", Word::Ansi}, {"ansicpg", Word::Ansicpg},
    {"atnauthor", Word::SkipGroup}, {"atnid", Word::SkipGroup}, {"atnref", Word::SkipGroup},
    {"atntime", Word::SkipGroup}, {"b", Word::B}, {"background", Word::SkipGroup},
    {"bin", Word::Bin}, {"bkmkend", Word::SkipGroup}, {"bkmkstart", Word::SkipGroup},
    {"blue", Word::Blue}, {"bullet", Word::Bullet}, {"cb", Word::Cb}, {"cell", Word::Cell},
    {"cellx", Word::Cellx}, {"cf", Word::Cf}, {"colortbl", Word::Colortbl},
    {"comment", Word::SkipGroup}, {"cpg", Word::Cpg}, {"datastore", Word::SkipGroup},
    {"deff", Word::Deff}, {"dibitmap", Word::OtherBlip}, {"do", Word::SkipGroup},
    {"docvar", Word::SkipGroup}, {"emdash", Word::Emdash}, {"emfblip", Word::OtherBlip},
    {"emspace", Word::Emspace}, {"endash", Word::Endash}, {"enspace", Word::Enspace},
    {"f", Word::F}, {"fcharset", Word::Fcharset}, {"fdecor", Word::Fdecor}, {"fi", Word::Fi},
    {"field", Word::Field}, {"filetbl", Word::SkipGroup}, {"fldinst", Word::Fldinst},
    {"fldrslt", Word::Fldrslt}, {"fmodern", Word::Fmodern}, {"fnil", Word::Fnil},
    {"fonttbl", Word::Fonttbl}, {"footer", Word::SkipGroup}, {"footerf", Word::SkipGroup},
    {"footerl", Word::SkipGroup}, {"footerr", Word::SkipGroup}, {"footnote", Word::SkipGroup},
    {"froman", Word::Froman}, {"fs", Word::Fs}, {"fscript", Word::Fscript},
    {"fswiss", Word::Fswiss}, {"ftech", Word::Ftech}, {"ftncn", Word::SkipGroup},
    {"ftnsep", Word::SkipGroup}, {"ftnsepc", Word::SkipGroup}, {"generator", Word::SkipGroup},
    {"green", Word::Green}, {"header", Word::SkipGroup}, {"headerf", Word::SkipGroup},
    {"headerl", Word::SkipGroup}, {"headerr", Word::SkipGroup}, {"highlight", Word::Highlight},
    {"i", Word::I}, {"info", Word::SkipGroup}, {"intbl", Word::Intbl}, {"jpegblip", Word::Jpegblip},
    {"latentstyles", Word::SkipGroup}, {"ldblquote", Word::Ldblquote}, {"li", Word::Li},
    {"lin", Word::Li}, {"line", Word::Line}, {"listoverridetable", Word::SkipGroup},
    {"listpicture", Word::SkipGroup}, {"listtable", Word::SkipGroup}, {"listtext", Word::Listtext},
    {"lquote", Word::Lquote}, {"ltrmark", Word::Ltrmark}, {"mac", Word::Mac},
    {"macpict", Word::OtherBlip}, {"nestcell", Word::Nestcell}, {"nestrow", Word::Nestrow},
    {"nonshppict", Word::SkipGroup}, {"nosupersub", Word::Nosupersub}, {"object", Word::SkipGroup},
    {"page", Word::Par}, {"par", Word::Par}, {"pard", Word::Pard}, {"pc", Word::Pc},
    {"pca", Word::Pca}, {"pgdsctbl", Word::SkipGroup}, {"pichgoal", Word::Pichgoal},
    {"picscalex", Word::Picscalex}, {"picscaley", Word::Picscaley}, {"pict", Word::Pict},
    {"picwgoal", Word::Picwgoal}, {"plain", Word::Plain}, {"pmmetafile", Word::OtherBlip},
    {"pn", Word::SkipGroup}, {"pngblip", Word::Pngblip}, {"pntext", Word::Pntext},
    {"private", Word::SkipGroup}, {"qc", Word::Qc}, {"qd", Word::Qd}, {"qj", Word::Qj},
    {"ql", Word::Ql}, {"qmspace", Word::Qmspace}, {"qr", Word::Qr}, {"rdblquote", Word::Rdblquote},
    {"red", Word::Red}, {"revtbl", Word::SkipGroup}, {"ri", Word::Ri}, {"rin", Word::Ri},
    {"row", Word::Row}, {"rquote", Word::Rquote}, {"rsidtbl", Word::SkipGroup},
    {"rtlmark", Word::Rtlmark}, {"rxe", Word::SkipGroup}, {"sa", Word::Sa}, {"sb", Word::Sb},
    {"sect", Word::Par}, {"shpinst", Word::SkipGroup}, {"shppict", Word::Shppict},
    {"shprslt", Word::SkipGroup}, {"sl", Word::Sl}, {"slmult", Word::Slmult},
    {"strike", Word::Strike}, {"striked", Word::Strike}, {"stylesheet", Word::SkipGroup},
    {"sub", Word::Sub}, {"super", Word::Super}, {"tab", Word::Tab}, {"tc", Word::SkipGroup},
    {"template", Word::SkipGroup}, {"themedata", Word::SkipGroup}, {"trowd", Word::Trowd},
    {"tx", Word::Tx}, {"txe", Word::SkipGroup}, {"u", Word::U}, {"uc", Word::Uc}, {"ud", Word::Ud},
    {"ul", Word::Ul}, {"uld", Word::Ul}, {"uldash", Word::Ul}, {"uldashd", Word::Ul},
    {"uldashdd", Word::Ul}, {"uldb", Word::Ul}, {"ulhwave", Word::Ul}, {"ulldash", Word::Ul},
    {"ulnone", Word::Ulnone}, {"ulth", Word::Ul}, {"ulthd", Word::Ul}, {"ulthdash", Word::Ul},
    {"ulthdashd", Word::Ul}, {"ulthdashdd", Word::Ul}, {"ulthldash", Word::Ul},
    {"ululdbwave", Word::Ul}, {"ulw", Word::Ul}, {"ulwave", Word::Ul}, {"upr", Word::Upr},
    {"userprops", Word::SkipGroup}, {"v", Word::V}, {"wbitmap", Word::OtherBlip},
    {"wmetafile", Word::OtherBlip}, {"xe", Word::SkipGroup}, {"xmlnstbl", Word::SkipGroup},
    {"zwbo", Word::Zwbo}, {"zwj", Word::Zwj}, {"zwnj", Word::Zwnj},
};

constexpr bool wordsSorted()
{
    for (std::size_t i = 1; i < std::size(kWords); ++i)
        if (!(kWords[i - 1].name < kWords[i].name))
            return false;
    return true;
}
static_assert(wordsSorted(), "kWords must stay sorted by name");

} // namespace

Word lookupWord(std::string_view name)
{
    const auto *end = std::end(kWords);
    const auto *it = std::lower_bound(std::begin(kWords), end, name,
                                      [](const WordEntry &e, std::string_view n) { return e.name < n; });
    return it != end && it->name == name ? it->word : Word::Unknown;
}

} // namespace korvelan::rtf
