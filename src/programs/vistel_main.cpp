#include <QApplication>
#include <QFileDialog>
#include <cstdio>

#include "autorun/avisosvisor.h"
#include "autorun/frmAuto.h"
#include "common/traducciones.h"
#include "programs/carpetavisor.h"
#include "programs/lineaordenes.h"

// Revision number of the viewer, shown in its information text.
constexpr int kRevisionVistel = 10;

namespace {

// Started from the menu the viewer has no CD folder of its own: it asks.
class DialogoAutorun : public PreguntaAutorun {
public:
    QString EligeAutorun() override
    {
        return QFileDialog::getOpenFileName(nullptr, QStringLiteral("Elegir el autorun.dat"), QDir::homePath(),
                                            QStringLiteral("Autorun (autorun.dat)"));
    }
};

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("Vistel"));
    const DescripcionPrograma programa{
        QStringLiteral("Vistel"), QStringLiteral(LODRIN_VERSION), QStringLiteral("[CARPETA]"),
        QStringLiteral("Visor de los discos de un CD preparado con Lodrin: muestra el autorun.dat de CARPETA,\n"
                       "o el que hay junto al programa; si no hay ninguno, pregunta cuál abrir."),
        {},
        1};
    {
        QCoreApplication consola(argc, argv);
        const int salida = Atiende(LeeOrdenes(consola.arguments().mid(1), programa), programa);
        if (salida >= 0)
            return salida;
    }
    QApplication app(argc, argv);
    CargaTraducciones(app);
    QGuiApplication::setDesktopFileName(QStringLiteral("vistel"));
    const QStringList argumentos = LeeOrdenes(app.arguments().mid(1), programa).argumentos;
    // Nobody can answer a dialog on the offscreen platform.
    DialogoAutorun dialogo;
    const bool interactivo = QGuiApplication::platformName() != QLatin1String("offscreen") &&
                             QGuiApplication::platformName() != QLatin1String("minimal");
    const CarpetaVisor elegida =
        EligeCarpetaVisor(argumentos, QCoreApplication::applicationDirPath(), interactivo ? &dialogo : nullptr);
    if (!elegida.error.isEmpty()) {
        std::fputs(elegida.error.toLocal8Bit().constData(), stderr);
        return 1;
    }
    if (elegida.carpeta.isEmpty())
        return 0;
    AvisosVisor avisos;
    frmAuto ventana(elegida.carpeta, kRevisionVistel, avisos);
    ventana.show();
    return app.exec();
}
