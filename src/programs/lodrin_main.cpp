#include <QDir>
#include <cstdio>
#include <QStandardPaths>

#include "catalogue/catalogo.h"
#include "catalogue/copia.h"
#include "common/carpetacatalogo.h"
#include "common/lodrinerror.h"
#include "common/traducciones.h"
#include "main_window/aplicacion.h"
#include "common/avisosventana.h"
#include "main_window/frmVaro.h"
#include "exploring/unidadessistema.h"
#include "programs/lineaordenes.h"

namespace {

// A new option is one line here and one branch in main().
DescripcionPrograma Descripcion()
{
    return {QStringLiteral("Lodrin"), QStringLiteral(LODRIN_VERSION), QString(),
            QStringLiteral("Catalogador de CDs de MP3. Sin opciones abre la ventana."),
            {{QStringLiteral("copia-catalogo"), QStringLiteral("DESTINO"),
              QStringLiteral("copia el catálogo en uso en DESTINO (un .ini de servidor o un fichero nuevo)")}}};
}

QString CarpetaEnUso()
{
    return CarpetaCatalogo(QCoreApplication::applicationDirPath(),
                           QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

// --copia-catalogo: the catalogue in use into an empty one, without a window.
int CopiaCatalogoEn(const QString& destino)
{
    const QString dir = CarpetaEnUso();
    try {
        Catalogo bd(UbicacionCatalogo::DeCarpeta(dir), QStringLiteral("copia_origen"));
        bd.AbreBaseDatos();
        std::printf("%s\n", qPrintable(CopiaCatalogo(bd, dir, DestinoDeCopia(destino))));
        return 0;
    } catch (const LodrinError& e) {
        std::fprintf(stderr, "Lodrin: %s\n", qPrintable(e.message()));
        return 1;
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("Lodrin"));
    const DescripcionPrograma programa = Descripcion();
    {
        // The command line is answered before any window exists, so it works
        // without a display.
        QCoreApplication consola(argc, argv);
        const Orden orden = LeeOrdenes(consola.arguments().mid(1), programa);
        const int salida = Atiende(orden, programa, TextoCarpetaCatalogo(CarpetaEnUso()));
        if (salida >= 0)
            return salida;
        if (orden.valores.contains(QStringLiteral("copia-catalogo")))
            return CopiaCatalogoEn(orden.valores.value(QStringLiteral("copia-catalogo")));
    }
    AplicacionLodrin app(argc, argv);
    CargaTraducciones(app);
    QGuiApplication::setDesktopFileName(QStringLiteral("lodrin"));
    // What is left once the toolkit took its own options out.
    const QStringList sobrantes = LeeOrdenes(app.arguments().mid(1), programa).argumentos;
    if (!sobrantes.isEmpty())
        return ArgumentoSobrante(programa, sobrantes.first());

    const QString dir = CarpetaEnUso();
    QDir().mkpath(dir);
    Catalogo bd(UbicacionCatalogo::DeCarpeta(dir));
    UnidadesSistema unidades;
    AvisosVentana avisos;
    frmVaro ventana(bd, unidades, avisos, dir);
    avisos.PonPadre(&ventana);
    try {
        ventana.Form_Load();
    } catch (const LodrinError& e) {
        AplicacionLodrin::MuestraFalloYTermina(e.message(), &ventana);
    }
    ventana.show();
    return app.exec();
}
