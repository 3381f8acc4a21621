#include "catalogue/objetos.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "catalogue/catalogo.h"
#include "catalogue/nombres.h"
#include "common/lodrinerror.h"

QString CarpetaImagenes(const QString& dirPrograma)
{
    return QDir(dirPrograma).filePath(QStringLiteral("imagenes"));
}

QString NombreCopia(qint64 idobjeto, const QString& ruta)
{
    return QString::number(idobjeto) + ruta.right(4).toLower();
}

QString CopiaExistente(const QString& dirPrograma, qint64 idobjeto)
{
    const QDir carpeta(CarpetaImagenes(dirPrograma));
    const QString id = QString::number(idobjeto);
    // Copies made before extensions were lower-cased keep the case of the
    // file they came from. Trying each spelling of the two extensions costs a
    // few look-ups where listing the folder costs one per copy it holds.
    for (const char* ext : {"jpg", "gif"}) {
        for (int caso = 0; caso < 8; ++caso) {
            QString e = QString::fromLatin1(ext);
            for (int k = 0; k < 3; ++k)
                if (caso & (1 << k))
                    e[k] = e[k].toUpper();
            const QString ruta = carpeta.filePath(id + QLatin1Char('.') + e);
            if (QFileInfo::exists(ruta))
                return ruta;
        }
    }
    return QString();
}

namespace {

QString copia(const QString& dirPrograma, qint64 idobjeto, const QString& ruta, const QString& origen)
{
    const QString carpeta = CarpetaImagenes(dirPrograma);
    if (!QDir().mkpath(carpeta))
        throw LodrinError(QStringLiteral("No se puede crear la carpeta %1").arg(carpeta));
    const QString destino = QDir(carpeta).filePath(NombreCopia(idobjeto, ruta));
    // Copy beside the target first, so a failed copy never leaves half a file
    // under the picture's name.
    const QString temporal = destino + QStringLiteral(".tmp");
    QFile::remove(temporal);
    QFile fuente(origen);
    if (!fuente.copy(temporal)) {
        QFile::remove(temporal);
        throw LodrinError(QStringLiteral("No se puede copiar la imagen %1: %2").arg(origen, fuente.errorString()));
    }
    QFile::remove(destino);
    if (!QFile::rename(temporal, destino)) {
        QFile::remove(temporal);
        throw LodrinError(QStringLiteral("No se puede copiar la imagen %1 a %2").arg(origen, destino));
    }
    return destino;
}

}  // namespace

qint64 GrabaObjeto(Catalogo& bd, const QString& dirPrograma, const QString& tabla, qint64 idtabla,
                   QString ruta, const QString& origen, bool crear)
{
    if (!crear) {
        // The first picture recorded is the one shown first.
        Consulta r = bd.Abre(QStringLiteral("select idobjeto from tlobjetos where dstabla = ? and idtabla = ?"
                                            " order by idobjeto limit 1"),
                             {tabla, idtabla});
        return r.Fin() ? 0 : r.Entero(QStringLiteral("idobjeto"));
    }
    return Operacion(bd, QStringLiteral("guardar la imagen %1").arg(ruta), [&](Transaccion& t) {
        Consulta r = bd.Abre(QStringLiteral("select idobjeto from tlobjetos where dstabla = ? and idtabla = ?"
                                            " and dspath_clave = ?"),
                             {tabla, idtabla, Pliega(ruta)});
        qint64 id = 0;
        if (!r.Fin()) {
            id = r.Entero(QStringLiteral("idobjeto"));
            // A row whose copy went missing gets its copy now.
            if (!CopiaExistente(dirPrograma, id).isEmpty())
                return id;
        } else {
            id = bd.Inserta(QStringLiteral("insert into tlobjetos (dstabla, idtabla, dspath, dspath_clave)"
                                           " values (?, ?, ?, ?)"),
                            {tabla, idtabla, ruta, Pliega(ruta)});
        }
        const QString hecha = copia(dirPrograma, id, ruta, origen);
        // A copy belongs to the operation that made it: undone with it.
        t.AlDeshacer([hecha] { QFile::remove(hecha); });
        return id;
    });
}

qint64 DameSiguienteObjeto(Catalogo& bd, const QString& tabla, qint64 idtabla, qint64 actual)
{
    Consulta r = bd.Abre(QStringLiteral("select idobjeto from tlobjetos where dstabla = ? and idtabla = ?"
                                        " order by idobjeto"),
                         {tabla, idtabla});
    if (r.Fin())
        return 0;
    const qint64 primero = r.Entero(QStringLiteral("idobjeto"));
    for (; !r.Fin(); r.Siguiente()) {
        const qint64 id = r.Entero(QStringLiteral("idobjeto"));
        if (id > actual)
            return id;
    }
    return primero == actual ? 0 : primero;
}
