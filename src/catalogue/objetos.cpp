#include "catalogue/objetos.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "catalogue/catalogo.h"
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
    for (const char* ext : {".jpg", ".gif"}) {
        const QString ruta = carpeta.filePath(id + QLatin1String(ext));
        if (QFileInfo::exists(ruta))
            return ruta;
    }
    // Copies made before extensions were lower-cased keep the case of the
    // file they came from; any case of the four characters will do.
    const QStringList otras = carpeta.entryList({id + QStringLiteral(".???")}, QDir::Files, QDir::Name);
    return otras.isEmpty() ? QString() : carpeta.filePath(otras.first());
}

namespace {

void copia(const QString& dirPrograma, qint64 idobjeto, const QString& ruta, const QString& origen)
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
}

}  // namespace

qint64 GrabaObjeto(Catalogo& bd, const QString& dirPrograma, const QString& tabla, qint64 idtabla,
                   QString ruta, const QString& origen, bool crear)
{
    const QString citada = sql::Comillas(ruta);
    QString select;
    if (crear)
        select = QStringLiteral("select idobjeto from tlobjetos where ") + QStringLiteral(" dstabla = '") + tabla +
                 QStringLiteral("' and idtabla = ") + sql::Entero(idtabla) + QStringLiteral(" and dspath = '") +
                 citada + QStringLiteral("'");
    else
        select = QStringLiteral("select idobjeto from tlobjetos where ") + QStringLiteral(" dstabla = '") + tabla +
                 QStringLiteral("' and idtabla = ") + sql::Entero(idtabla);
    {
        Consulta r = bd.Abre(select);
        if (!r.Fin()) {
            const qint64 id = r.Entero(QStringLiteral("idobjeto"));
            // A row whose copy went missing (an earlier recording failed half
            // way) gets its copy now.
            if (crear && CopiaExistente(dirPrograma, id).isEmpty())
                copia(dirPrograma, id, ruta, origen);
            return id;
        }
    }
    if (!crear)
        return 0;
    bd.Ejecuta(QStringLiteral("insert into tlobjetos (dstabla, idtabla, dspath)") + QStringLiteral("values ( '") +
               tabla + QStringLiteral("',") + sql::Entero(idtabla) + QStringLiteral(",'") + citada +
               QStringLiteral("')"));
    Consulta r = bd.Abre(select);
    if (r.Fin())
        return 0;
    const qint64 id = r.Entero(QStringLiteral("idobjeto"));
    copia(dirPrograma, id, ruta, origen);
    return id;
}

qint64 DameSiguienteObjeto(Catalogo& bd, const QString& tabla, qint64 idtabla, qint64 actual)
{
    Consulta r = bd.Abre(QStringLiteral("select idobjeto from tlobjetos where ") + QStringLiteral(" dstabla = '") +
                         tabla + QStringLiteral("' and idtabla = ") + sql::Entero(idtabla) +
                         QStringLiteral(" order by idobjeto "));
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
