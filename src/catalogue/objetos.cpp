#include "catalogue/objetos.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <vector>

#include "catalogue/nombres.h"
#include "common/diario.h"
#include "common/ficheroregular.h"
#include "common/lodrinerror.h"
#include "mp3info/etiquetas.h"
#include "worklist/listatrabajo.h"
#include "store/catalogo.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QHash>
#include <QSet>
#include <QSqlQuery>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

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
            if (EsFicheroRegular(ruta))
                return ruta;
        }
    }
    return QString();
}

namespace {

// Writes beside the target first, so a failed write never leaves half a file
// under the picture's name.
void escribe(const QString& destino, const QByteArray& bytes, const QString& origen)
{
    const QString temporal = destino + QStringLiteral(".tmp");
    QFile::remove(temporal);
    QFile f(temporal);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.flush()) {
        const QString razon = f.errorString();
        f.close();
        QFile::remove(temporal);
        throw LodrinError(QStringLiteral("No se puede copiar la imagen %1 a %2: %3").arg(origen, destino, razon));
    }
    f.close();
    QFile::remove(destino);
    if (!QFile::rename(temporal, destino)) {
        QFile::remove(temporal);
        throw LodrinError(QStringLiteral("No se puede copiar la imagen %1 a %2").arg(origen, destino));
    }
}

QString carpetaHecha(const QString& dirPrograma)
{
    const QString carpeta = CarpetaImagenes(dirPrograma);
    if (!QDir().mkpath(carpeta))
        throw LodrinError(QStringLiteral("No se puede crear la carpeta %1").arg(carpeta));
    return carpeta;
}

QString pon(const QString& dirPrograma, qint64 idobjeto, const QString& ruta, const QByteArray& bytes,
            const QString& origen)
{
    const QString destino = QDir(carpetaHecha(dirPrograma)).filePath(NombreCopia(idobjeto, ruta));
    escribe(destino, bytes, origen);
    return destino;
}

// A committed picture's copy: its id and an extension.
const QRegularExpression kCopia(QStringLiteral("^(\\d+)\\.[^.]+$"));
// A copy waiting for its recording to commit: the copy's name, then the
// recording's token (see Diario::NombreEnEspera).
const QRegularExpression kEnEspera(QStringLiteral("^(\\d+)\\.([^.]+)\\.(\\d+-[0-9a-f]{32})\\.nuevo$"));

// Gives a waiting copy its name, in place of any copy of the same id under
// another extension.
void coloca(const QString& carpeta, const QString& enEspera, qint64 idobjeto, const QString& nombre)
{
    for (QString vieja = CopiaExistente(QFileInfo(carpeta).path(), idobjeto); !vieja.isEmpty();
         vieja = CopiaExistente(QFileInfo(carpeta).path(), idobjeto))
        if (!QFile::remove(vieja))
            break;
    const QString destino = QDir(carpeta).filePath(nombre);
    QFile::remove(destino);
    QFile::rename(enEspera, destino);
}

}  // namespace

QByteArray LeeImagenOrigen(const QString& origen)
{
    if (PortadaDentroDeMp3(origen)) {
        QByteArray portada = DamePortada(origen).bytes;
        if (portada.isEmpty())
            throw LodrinError(QStringLiteral("No se puede copiar la imagen %1: el fichero ya no lleva portada").arg(origen));
        return portada;
    }
    QString razon;
    QByteArray bytes = LeeFicheroRegular(origen, &razon);
    if (!razon.isEmpty())
        throw LodrinError(QStringLiteral("No se puede copiar la imagen %1: %2").arg(origen, razon));
    return bytes;
}

namespace {

// The pictures of a row of a table, in the order they were recorded.
std::vector<qint64> imagenesDe(Catalogo& bd, const QString& tabla, qint64 idtabla)
{
    Consulta r = bd.Abre(QStringLiteral("select idobjeto from tlobjetos where dstabla = ? and idtabla = ?"
                                        " order by idobjeto"),
                         {tabla, idtabla});
    std::vector<qint64> ids;
    for (; !r.Fin(); r.Siguiente())
        ids.push_back(r.Entero(QStringLiteral("idobjeto")));
    return ids;
}

}  // namespace

QString EscribeCopia(const QString& dirPrograma, qint64 idobjeto, const QString& ruta, const QByteArray& bytes,
                    const QString& token)
{
    if (token.isEmpty())
        return pon(dirPrograma, idobjeto, ruta, bytes, ruta);
    const QString destino =
        QDir(carpetaHecha(dirPrograma)).filePath(Diario::NombreEnEspera(NombreCopia(idobjeto, ruta), token));
    escribe(destino, bytes, ruta);
    return destino;
}

namespace {

// The folder that caches a server's pictures may have served another
// catalogue (lodrin.ini pointed elsewhere): its copies are dropped the first
// time this catalogue uses it, so another catalogue's covers are never shown.
void cacheDe(Catalogo& bd, const QString& dirPrograma)
{
    const QByteArray id = bd.motor().IdCache().toUtf8();
    if (id.isEmpty())
        return;
    // The mark stands beside the folder, which holds nothing but copies.
    QFile marca(QDir(dirPrograma).filePath(QStringLiteral("imagenes.id")));
    if (marca.open(QIODevice::ReadOnly) && marca.readAll().trimmed() == id)
        return;
    marca.close();
    const QDir carpeta(CarpetaImagenes(dirPrograma));
    for (const QString& f : carpeta.entryList(QDir::Files))
        for (const char* ext : {".jpg", ".gif", ".tmp"})
            if (f.endsWith(QLatin1String(ext), Qt::CaseInsensitive))
                QFile::remove(carpeta.filePath(f));
    if (marca.open(QIODevice::WriteOnly | QIODevice::Truncate))
        marca.write(id + '\n');
}

}  // namespace

namespace {

// A copy belongs to the operation that made it: it waits under the token
// the operation records, gets its name when that commits, and goes if it is
// undone. After a kill only the token, never the id a rollback hands out
// again, says whose it is.
void copiaDeOperacion(Transaccion& t, const QString& dirPrograma, qint64 id, const QString& ruta,
                      const QByteArray& bytes, const QString& origen, const QString& token)
{
    const QString carpeta = carpetaHecha(dirPrograma);
    const QString nombre = NombreCopia(id, ruta);
    const QString enEspera = QDir(carpeta).filePath(
        Diario::NombreEnEspera(nombre, token.isEmpty() ? Diario::NuevoToken() : token));
    escribe(enEspera, bytes, origen);
    t.AlDeshacer([enEspera] { QFile::remove(enEspera); });
    t.AlConfirmar([carpeta, enEspera, id, nombre] { coloca(carpeta, enEspera, id, nombre); });
}

}  // namespace

QString CopiaImagen(Catalogo& bd, const QString& dirPrograma, qint64 idobjeto)
{
    cacheDe(bd, dirPrograma);
    const QString hay = CopiaExistente(dirPrograma, idobjeto);
    if (!hay.isEmpty())
        return hay;
    // Where the catalogue keeps the bytes, the folder is only its cache.
    const QByteArray bytes = bd.motor().LeeImagen(bd, idobjeto);
    if (bytes.isEmpty())
        return QString();
    Consulta r = bd.Abre(QStringLiteral("select dspath from tlobjetos where idobjeto = ?"), {idobjeto});
    if (r.Fin())
        return QString();
    try {
        return pon(dirPrograma, idobjeto, r.Texto(QStringLiteral("dspath")), bytes, r.Texto(QStringLiteral("dspath")));
    } catch (const LodrinError&) {
        return QString();  // shown as a missing copy: an empty picture
    }
}

qint64 GrabaObjeto(Catalogo& bd, const QString& dirPrograma, const QString& tabla, qint64 idtabla,
                   QString ruta, const QString& origen, bool crear, const QByteArray& leidos, const QString& token)
{
    cacheDe(bd, dirPrograma);
    if (!crear) {
        // The first picture recorded is the one shown first.
        const std::vector<qint64> ids = imagenesDe(bd, tabla, idtabla);
        if (ids.empty())
            return 0;
        for (const qint64 id : ids)
            CopiaImagen(bd, dirPrograma, id);
        return ids.front();
    }
    return Operacion(bd, QStringLiteral("guardar la imagen %1").arg(ruta), [&](Transaccion& t) {
        Consulta r = bd.Abre(QStringLiteral("select idobjeto from tlobjetos where dstabla = ? and idtabla = ?"
                                            " and dspath_clave = ?"),
                             {tabla, idtabla, Pliega(ruta)});
        qint64 id = 0;
        if (!r.Fin()) {
            id = r.Entero(QStringLiteral("idobjeto"));
            // A row whose copy went missing gets its copy now.
            if (!CopiaImagen(bd, dirPrograma, id).isEmpty())
                return id;
        } else {
            id = bd.Inserta(QStringLiteral("tlobjetos"), QStringLiteral("idobjeto"),
                            {QStringLiteral("dstabla"), QStringLiteral("idtabla"), QStringLiteral("dspath"),
                             QStringLiteral("dspath_clave")},
                            {tabla, idtabla, ruta, Pliega(ruta)});
        }
        const QByteArray bytes = leidos.isEmpty() ? LeeImagenOrigen(origen) : leidos;
        bd.motor().GuardaImagen(bd, id, bytes);
        copiaDeOperacion(t, dirPrograma, id, ruta, bytes, origen, token);
        return id;
    });
}

std::vector<qint64> GrabaObjetos(Catalogo& bd, const QString& dirPrograma, const QString& tabla,
                                 const std::vector<ObjetoNuevo>& objetos, const QString& token)
{
    if (objetos.empty())
        return {};
    cacheDe(bd, dirPrograma);
    return Operacion(bd, QStringLiteral("guardar las imágenes"), [&](Transaccion& t) {
        std::vector<QVariantList> filas;
        filas.reserve(objetos.size());
        for (const ObjetoNuevo& o : objetos)
            filas.push_back({tabla, o.idtabla, o.ruta, Pliega(o.ruta)});
        const auto ids = bd.motor().BuscaOInsertaVarias(
            bd, QStringLiteral("tlobjetos"), QStringLiteral("idobjeto"),
            {QStringLiteral("dstabla"), QStringLiteral("idtabla"), QStringLiteral("dspath_clave")},
            {QStringLiteral("dstabla"), QStringLiteral("idtabla"), QStringLiteral("dspath"), QStringLiteral("dspath_clave")},
            filas);
        std::vector<std::pair<qint64, QByteArray>> guardar;
        std::vector<size_t> de;
        QSet<qint64> vistos;
        std::vector<qint64> hechos;
        for (size_t i = 0; i < objetos.size(); ++i) {
            const auto [id, nueva] = ids[i];
            hechos.push_back(id);
            // A picture named twice is stored once.
            if (vistos.contains(id))
                continue;
            vistos.insert(id);
            // A row whose copy went missing gets its copy now.
            if (!nueva && !CopiaImagen(bd, dirPrograma, id).isEmpty())
                continue;
            const ObjetoNuevo& o = objetos[i];
            guardar.emplace_back(id, o.bytes.isEmpty() ? LeeImagenOrigen(o.origen) : o.bytes);
            de.push_back(i);
        }
        bd.motor().GuardaImagenes(bd, guardar);
        for (size_t k = 0; k < guardar.size(); ++k)
            copiaDeOperacion(t, dirPrograma, guardar[k].first, objetos[de[k]].ruta, guardar[k].second,
                             objetos[de[k]].origen, token);
        return hechos;
    });
}

qint64 DameSiguienteObjeto(Catalogo& bd, const QString& tabla, qint64 idtabla, qint64 actual)
{
    const std::vector<qint64> ids = imagenesDe(bd, tabla, idtabla);
    if (ids.empty())
        return 0;
    for (const qint64 id : ids)
        if (id > actual)
            return id;
    return ids.front() == actual ? 0 : ids.front();
}

void OrdenaCopias(Catalogo& bd, const QString& dirPrograma)
{
    const QString carpeta = CarpetaImagenes(dirPrograma);
    // The folder first, the rows after: a copy whose recording commits
    // meanwhile always finds its row.
    const QStringList ficheros = QDir(carpeta).entryList(QDir::Files | QDir::Hidden | QDir::System);
    if (ficheros.isEmpty())
        return;
    QSet<qint64> filas;
    bd.Recorre(QStringLiteral("select idobjeto from tlobjetos"), {},
               [&](const QSqlQuery& q) { filas.insert(q.value(0).toLongLong()); });
    QHash<QString, bool> confirmados;
    auto confirmado = [&](const QString& token) {
        const auto it = confirmados.constFind(token);
        if (it != confirmados.constEnd())
            return *it;
        const bool hay =
            bd.PrimerEntero(QStringLiteral("select count(*) from tlcd where dstoken = ?"), {token}) > 0;
        confirmados.insert(token, hay);
        return hay;
    };
    for (const QString& f : ficheros) {
        const QString ruta = QDir(carpeta).filePath(f);
        const QRegularExpressionMatch espera = kEnEspera.match(f);
        if (espera.hasMatch()) {
            const QString token = espera.captured(3);
            // A recording still running has not committed yet.
            if (Diario::TokenVivo(token))
                continue;
            const qint64 id = espera.captured(1).toLongLong();
            // A program killed after its commit left the copy unnamed.
            if (filas.contains(id) && confirmado(token))
                coloca(carpeta, ruta, id, espera.captured(1) + QLatin1Char('.') + espera.captured(2));
            else
                QFile::remove(ruta);
            continue;
        }
        // Anything else that no row names goes: half-written copies,
        // waiting copies of older versions, copies of undone recordings.
        const QRegularExpressionMatch copia = kCopia.match(f);
        if (!copia.hasMatch() || !filas.contains(copia.captured(1).toLongLong()))
            QFile::remove(ruta);
    }
}

void ImagenesAlDisco(const QString& dirPrograma)
{
    // One flush of the file system that holds the copies: far cheaper than
    // one forced write per copy, and the same guarantee at the commit.
    const int fd = ::open(QFile::encodeName(CarpetaImagenes(dirPrograma)).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return;
    ::syncfs(fd);
    ::close(fd);
}
