// Program entry: refuses a second start, then lets the splash window load the data and open the
// main window.
#include "commandline.h"
#include "constants.h"
#include "displaycheck.h"
#include "frmbdem.h"
#include "frmlister.h"
#include "messagebox.h"
#include "singleinstance.h"
#include "standardstreams.h"
#include "toolkitfrench.h"

#include <QApplication>
#include <QLocale>

#include <memory>

using namespace korvelan;
using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    // Before any file is opened: a descriptor left closed by the caller would be taken by the next one.
    openClosedStandardStreams();
    // Help, version, a card, a search or an export are answered on the terminal, without a window.
    if (const std::optional<int> code = runCommandLine(argc, argv))
        return *code;
    // The window needs a display: without one, say so in French and stop cleanly.
    requireDisplay(argc, argv);
    QApplication app(argc, argv); // the toolkit's own options still reach it
    // The windows are closed and opened in turn; the program ends only through its quit question.
    app.setQuitOnLastWindowClosed(false);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    // The toolkit's own texts (the edit and scroll-bar menus) in French.
    ToolkitFrench toolkitFrench;
    QApplication::installTranslator(&toolkitFrench);

    setStartupConstants();
    DialogMessageBoxes boxes;

    SingleInstance instance;
    if (!instance.acquire()) {
        boxes.show(MessageIcon::Warning, AppTitle, u"Le programme est déja lancé."_s, MessageButtons::Ok);
        return 0;
    }

    ProgramData data;
    std::unique_ptr<FrmLister> lister;
    // Unloaded once the main window has closed it: its picture, its fonts and its image shared with
    // the display are not kept for the whole run.
    auto *splash = new FrmBDem({.data = &data,
                                .read = readEmbeddedResource,
                                .boxes = &boxes,
                                .loadMainWindow =
                                    [&](FrmBDem &self) {
                                        FrmLister::Services services;
                                        services.data = &data;
                                        services.boxes = &boxes;
                                        services.documentsFolder = AppFolder.handle();
                                        lister = std::make_unique<FrmLister>(std::move(services));
                                        lister->load(&self);
                                    },
                                .screenSize = {}});
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->load();
    return app.exec();
}
