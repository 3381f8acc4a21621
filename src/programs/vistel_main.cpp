#include <QApplication>

#include "autorun/avisosvisor.h"
#include "autorun/frmAuto.h"

// Revision number of the viewer, shown in its information text.
constexpr int kRevisionVistel = 10;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    AvisosVisor avisos;
    frmAuto ventana(QCoreApplication::applicationDirPath(), kRevisionVistel, avisos);
    ventana.show();
    return app.exec();
}
