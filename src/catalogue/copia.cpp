#include "catalogue/copia.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <memory>

#include "catalogue/objetos.h"
#include "common/diario.h"
#include "common/ficheroregular.h"
#include "store/catalogo.h"

namespace {

// Every table's columns, ids first; masks last, in the order they were added.
const char* const kCopiadas[][11] = {
    {"tlautor", "idautor", "dsautor", "dsautor_std", "intautor", nullptr},
    {"tldisco", "iddisco", "dsdisco", "dsdisco_std", "cdautord", nullptr},
    {"tlcd", "idcd", "dscd", "sercd", "lotienecd", "dtcd", "dscd_clave", nullptr},
    {"tlcancion", "idcancion", "dscancion", "cdcd", "cddisco", "cdautor", "wncancion", "dspath", "swvarios", "wntime",
     "dscancion_clave"},
    {"tlobjetos", "idobjeto", "dstabla", "idtabla", "dspath", "dspath_clave", nullptr},
    {"tlmascara", "dsmascara", "wnmascara", nullptr},
};

QString L(const char* t) { return QString::fromLatin1(t); }

// The engines hold yes/no and dates their own way; each value is given to
// the target in the form both read alike.
QVariant valor(const QString& columna, const QVariant& v)
{
    if (columna == QLatin1String("swvarios"))
        return QVariant(v.toBool() || v.toString() == QLatin1String("True"));
    if (columna == QLatin1String("dtcd")) {
        if (v.isNull())
            return v;
        const QDate d = v.typeId() == QMetaType::QDate ? v.toDate() : QDate::fromString(v.toString(), Qt::ISODate);
        return d.isValid() ? QVariant(d.toString(Qt::ISODate)) : QVariant(v.toString());
    }
    return v;
}

qint64 cuenta(Catalogo& bd, const char* tabla)
{
    return bd.PrimerEntero(QStringLiteral("select count(*) from %1").arg(L(tabla)), {});
}

// The picture's bytes in the open catalogue: its table on a server, its copy
// in the folder beside a file. A picture whose copy is gone has none.
QByteArray bytesDe(Catalogo& origen, const QString& dirOrigen, qint64 id)
{
    const QByteArray bytes = origen.motor().LeeImagen(origen, id);
    if (!bytes.isEmpty())
        return bytes;
    const QString copia = CopiaExistente(dirOrigen, id);
    if (copia.isEmpty())
        return {};
    return LeeFicheroRegular(copia);
}

}  // namespace

UbicacionCatalogo DestinoDeCopia(const QString& texto)
{
    if (texto.endsWith(QLatin1String(".ini"), Qt::CaseInsensitive))
        return UbicacionCatalogo::DeIni(texto);
    return UbicacionCatalogo::Fichero(QFileInfo(texto).absoluteFilePath());
}

QString CopiaCatalogo(Catalogo& origen, const QString& dirOrigen, const UbicacionCatalogo& destino)
{
    const bool fichero = !destino.EnServidor();
    if (fichero && QFileInfo::exists(destino.fichero))
        throw LodrinError(QStringLiteral("El fichero %1 ya existe: la copia se hace en un catálogo nuevo").arg(destino.fichero));
    if (destino.Nombre() == origen.ruta())
        throw LodrinError(QStringLiteral("El catálogo %1 no se puede copiar en sí mismo").arg(origen.ruta()));
    const QString dirDestino = fichero ? QFileInfo(destino.fichero).absolutePath() : QString();
    // A new file is built under another name and takes its own only when
    // whole, and its picture copies wait under a token until then. The
    // journal names both first: a copy that fails or is killed leaves
    // nothing behind once the program starts again.
    const QString temporal = destino.fichero + QStringLiteral(".copia");
    const QString imagenesDestino = CarpetaImagenes(dirDestino);
    Diario diario;
    QString token;
    auto limpia = [&] {
        const QFileInfo t(temporal);
        for (const QString& lado : t.dir().entryList({t.fileName() + QLatin1Char('*')}, QDir::Files | QDir::Hidden))
            QFile::remove(t.dir().filePath(lado));
    };
    if (fichero) {
        limpia();
        try {
            token = diario.AnotaCopia(temporal, destino.fichero, imagenesDestino);
        } catch (const LodrinError& e) {
            throw LodrinError(QStringLiteral("No se puede copiar el catálogo en %1: %2").arg(destino.fichero, e.message()));
        }
    }
    auto destinoAbierto = std::make_unique<Catalogo>(fichero ? UbicacionCatalogo::Fichero(temporal) : destino,
                                                     QStringLiteral("copia_destino"));
    Catalogo& bd = *destinoAbierto;
    try {
        if (fichero)
            QDir().mkpath(dirDestino);
        bd.AbreBaseDatos();
        // One server database reached by two spellings of its host.
        const QString identidad = bd.motor().Identidad(bd);
        if (!identidad.isEmpty() && identidad == origen.motor().Identidad(origen))
            throw LodrinError(QStringLiteral("El catálogo %1 no se puede copiar en sí mismo").arg(origen.ruta()));
        for (const auto& t : kCopiadas)
            if (L(t[0]) != QLatin1String("tlmascara") && cuenta(bd, t[0]) > 0)
                throw LodrinError(QStringLiteral("El catálogo %1 no está vacío: tiene filas en %2").arg(bd.ruta(), L(t[0])));
        qint64 filas = 0, imagenes = 0;
        // The source is read as it stood at one moment, whatever others
        // write meanwhile.
        LecturaCatalogo lectura(origen);
        Operacion(bd, QStringLiteral("copiar el catálogo %1").arg(origen.ruta()), [&](Transaccion& op) {
            filas = imagenes = 0;
            // The target's own typical masks give way to the copied ones.
            bd.Ejecuta(QStringLiteral("delete from tlmascara"));
            for (const auto& t : kCopiadas) {
                QStringList columnas;
                for (int i = 1; i < 11 && t[i]; ++i)
                    columnas << L(t[i]);
                const QString inserta = QStringLiteral("insert into %1 (%2) values (%3)")
                                            .arg(L(t[0]), columnas.join(u','),
                                                 QStringList(columnas.size(), QStringLiteral("?")).join(u','));
                const QString orden = L(t[0]) == QLatin1String("tlmascara") ? QStringLiteral("wnmascara desc, ") +
                                                                                    origen.motor().OrdenDeAlta()
                                                                              : columnas.first();
                origen.Recorre(QStringLiteral("select %1 from %2 order by %3").arg(columnas.join(u','), L(t[0]), orden),
                               {}, [&](const QSqlQuery& q) {
                                   QVariantList v;
                                   for (int i = 0; i < columnas.size(); ++i)
                                       v << valor(columnas[i], q.value(i));
                                   bd.Ejecuta(inserta, v);
                                   ++filas;
                               });
            }
            Consulta r = origen.Abre(QStringLiteral("select idobjeto, dspath from tlobjetos order by idobjeto"));
            for (; !r.Fin(); r.Siguiente()) {
                const qint64 id = r.Entero(QStringLiteral("idobjeto"));
                const QByteArray bytes = bytesDe(origen, dirOrigen, id);
                if (bytes.isEmpty())
                    continue;
                if (!bd.motor().GuardaImagen(bd, id, bytes)) {
                    const QString hecha = EscribeCopia(dirDestino, id, r.Texto(QStringLiteral("dspath")), bytes, token);
                    op.AlDeshacer([hecha] { QFile::remove(hecha); });
                }
                ++imagenes;
            }
            bd.motor().TrasCopia(bd);
        });
        destinoAbierto.reset();
        if (fichero) {
            if (!QFile::rename(temporal, destino.fichero))
                throw LodrinError(QStringLiteral("No se puede poner el catálogo copiado en %1").arg(destino.fichero));
            Diario::ColocaEnEspera(imagenesDestino, token);
            ImagenesAlDisco(dirDestino);
            diario.Olvida(token);
        }
        return QStringLiteral("Copiado el catálogo %1 en %2: %3 filas y %4 imágenes")
            .arg(origen.ruta(), destino.Nombre())
            .arg(filas)
            .arg(imagenes);
    } catch (const LodrinError&) {
        // A new file that did not receive the catalogue whole is no catalogue.
        destinoAbierto.reset();
        if (fichero) {
            limpia();
            Diario::QuitaEnEspera(imagenesDestino, token);
            diario.Olvida(token);
        }
        throw;
    }
}
