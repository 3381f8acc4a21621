#include <QDir>
#include <cstdio>
#include <QFileInfo>
#include <QStandardPaths>

#include "catalogue/copia.h"
#include "common/avisosventana.h"
#include "common/carpetacatalogo.h"
#include "common/diario.h"
#include "common/lodrinerror.h"
#include "common/traducciones.h"
#include "exploring/unidadessistema.h"
#include "main_window/aplicacion.h"
#include "main_window/frmVaro.h"
#include "programs/lineaordenes.h"
#include "search/busqueda.h"
#include "catalogue/exportacion.h"
#include "store/catalogo.h"
#include "store/sesion.h"

namespace {

// A new option is one line here and one branch in main().
DescripcionPrograma Descripcion()
{
    return {QStringLiteral("Lodrin"), QStringLiteral(LODRIN_VERSION), QString(),
            QStringLiteral("Catalogador de CDs de MP3. Sin opciones abre la ventana."),
            {{QStringLiteral("buscar"), QStringLiteral("TEXTO"),
              QStringLiteral("escribe las canciones del catálogo con todas las palabras y termina")},
             {QStringLiteral("copia-catalogo"), QStringLiteral("DESTINO"),
              QStringLiteral("copia el catálogo en uso en DESTINO (un .ini de servidor o un fichero nuevo)")},
             {QStringLiteral("catalogo"), QStringLiteral("RUTA"),
              QStringLiteral("usa el catálogo RUTA (un fichero, un .ini de servidor o su carpeta)")},
             {QStringLiteral("exportar"), QStringLiteral("FICHERO.csv"),
              QStringLiteral("escribe todas las canciones del catálogo en FICHERO.csv y termina")}}};
}

QString CarpetaEnUso()
{
    return CarpetaCatalogo(QCoreApplication::applicationDirPath(),
                           QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

// The catalogue --catalogo names, else the one of the folder in use.
UbicacionCatalogo CatalogoEnUso(const Orden& orden)
{
    const QString ruta = orden.valores.value(QStringLiteral("catalogo"));
    return ruta.isEmpty() ? UbicacionCatalogo::DeCarpeta(CarpetaEnUso()) : UbicacionCatalogo::DeRuta(ruta);
}

// --exportar: every song into a CSV file, without a window; only reads.
int Exporta(const UbicacionCatalogo& donde, const QString& fichero)
{
    try {
        if (!donde.EnServidor() && !QFileInfo::exists(donde.Nombre()))
            throw LodrinError(QStringLiteral("No hay catálogo en %1").arg(donde.Nombre()));
        Catalogo bd(donde);
        bd.AbreParaLeer();
        const qint64 n = ExportaCanciones(bd, fichero);
        Escribe(stdout, QStringLiteral("%1: %2\n").arg(fichero, TextoCuenta(n, n)));
        return 0;
    } catch (const LodrinError& e) {
        Escribe(stderr, QStringLiteral("Lodrin: %1\n").arg(e.message()));
        return 1;
    }
}

// --copia-catalogo: the catalogue in use into an empty one, without a window.
int CopiaCatalogoEn(const UbicacionCatalogo& origen, const QString& destino)
{
    const QString dir = SesionCatalogo::CarpetaDe(origen, CarpetaEnUso());
    try {
        Catalogo bd(origen, QStringLiteral("copia_origen"));
        bd.AbreBaseDatos();
        std::printf("%s\n", qPrintable(CopiaCatalogo(bd, dir, DestinoDeCopia(destino))));
        return 0;
    } catch (const LodrinError& e) {
        std::fprintf(stderr, "Lodrin: %s\n", qPrintable(e.message()));
        return 1;
    }
}

// Prints every song holding all the words, one line each: 0 when some
// matched, 1 when none did, 2 when the search cannot be made (too many
// words, as for other bad usage) or the catalogue cannot be read.
int Buscar(const UbicacionCatalogo& donde, const QString& texto)
{
    try {
        // A search never creates a catalogue file.
        if (!donde.EnServidor() && !QFileInfo::exists(donde.Nombre()))
            throw LodrinError(QStringLiteral("No hay catálogo en %1").arg(donde.Nombre()));
        if (PalabrasBusqueda(texto).size() > kMaximoPalabras) {
            Escribe(stderr, QStringLiteral("Lodrin: %1\n").arg(kDemasiadasPalabras));
            return 2;
        }
        // A read command only reads: the catalogue is neither made nor mended.
        Catalogo bd(donde);
        bd.AbreParaLeer();
        const ResultadoBusqueda r = BuscaCanciones(bd, texto, columnaBD::kAutor, std::numeric_limits<int>::max());
        QString lineas;
        for (const CancionEncontrada& c : r.filas)
            lineas += LineaBusqueda(c);
        Escribe(stdout, lineas);
        return r.filas.empty() ? 1 : 0;
    } catch (const LodrinError& e) {
        Escribe(stderr, QStringLiteral("Lodrin: %1\n").arg(e.message()));
        return 2;
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("Lodrin"));
    const DescripcionPrograma programa = Descripcion();
    UbicacionCatalogo enUso;
    {
        // The command line is answered before any window exists, so it works
        // without a display.
        QCoreApplication consola(argc, argv);
        const Orden orden = LeeOrdenes(consola.arguments().mid(1), programa);
        const int salida = Atiende(orden, programa, TextoCarpetaCatalogo(CarpetaEnUso()));
        if (salida >= 0)
            return salida;
        // Whatever a killed Lodrin left half written (tags, a catalogue
        // copy) is finished or undone before anything else is done.
        Diario().Recupera();
        if (orden.valores.contains(QStringLiteral("copia-catalogo")))
            return CopiaCatalogoEn(CatalogoEnUso(orden), orden.valores.value(QStringLiteral("copia-catalogo")));
        if (orden.valores.contains(QStringLiteral("buscar")))
            return Buscar(CatalogoEnUso(orden), orden.valores.value(QStringLiteral("buscar")));
        if (orden.valores.contains(QStringLiteral("exportar")))
            return Exporta(CatalogoEnUso(orden), orden.valores.value(QStringLiteral("exportar")));
        enUso = CatalogoEnUso(orden);
    }
    AplicacionLodrin app(argc, argv);
    CargaTraducciones(app);
    QGuiApplication::setDesktopFileName(QStringLiteral("lodrin"));

    const QString dir = SesionCatalogo::CarpetaDe(enUso, CarpetaEnUso());
    QDir().mkpath(dir);
    Catalogo bd(enUso);
    UnidadesSistema unidades;
    AvisosVentana avisos;
    frmVaro ventana(bd, unidades, avisos, dir);
    avisos.PonPadre(&ventana);
    app.PonAvisos(&avisos);
    try {
        ventana.Form_Load();
    } catch (const LodrinError& e) {
        AplicacionLodrin::MuestraFalloYTermina(e.message(), &ventana);
    }
    ventana.show();
    return app.exec();
}
