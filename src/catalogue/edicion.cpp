#include "catalogue/edicion.h"

#include "catalogue/catalogo.h"
#include "catalogue/navegador.h"
#include "catalogue/nombres.h"

qint64 IdCancion(const QString& clave) { return clave.mid(3).toLongLong(); }

bool LeePosicion(const QString& texto, qint64& posicion)
{
    bool ok = false;
    const int n = texto.trimmed().toInt(&ok);
    if (!ok || n < -32768 || n > 32767)
        return false;
    posicion = n;
    return true;
}

void BorraCancion(Catalogo& bd, const FilaBD& fila)
{
    bd.Ejecuta(QStringLiteral("delete from tlcancion where idcancion = ") + sql::Entero(IdCancion(fila.clave)));
}

QString ActualizaCancion(Catalogo& bd, const FilaBD& fila)
{
    const QString id = sql::Entero(IdCancion(fila.clave));
    QString titulo = fila.cancion;
    Estandariza(titulo);
    QString autor = fila.autor;
    const qint64 idautor = DameAutor(bd, autor, true);
    qint64 dueno = idautor;
    if (fila.attrib == QLatin1String("v")) {
        QString varios = QStringLiteral("<Varios Artistas>");
        dueno = DameAutor(bd, varios, true);
    }
    QString disco = fila.disco;
    const qint64 iddisco = DameDisco(bd, disco, dueno, true);

    qint64 posicion = 0;
    const bool conPosicion = LeePosicion(fila.posicion, posicion);
    QString sentencia = QStringLiteral("update tlcancion set ") + QStringLiteral("dscancion = '") + titulo +
                        QStringLiteral("'") + QStringLiteral(",cddisco = ") + sql::Entero(iddisco) +
                        QStringLiteral(",cdautor = ") + sql::Entero(idautor);
    // Text that is no position must not reach the number column; the song
    // keeps the position it had.
    if (conPosicion)
        sentencia += QStringLiteral(",wncancion = ") + sql::Entero(posicion);
    sentencia += QStringLiteral(" where idcancion = ") + id;
    bd.Ejecuta(sentencia);

    if (conPosicion)
        return sql::Entero(posicion);
    Consulta r = bd.Abre(QStringLiteral("select wncancion from tlcancion where idcancion = ") + id);
    return r.Fin() ? fila.posicion : sql::Entero(r.Entero(QStringLiteral("wncancion")));
}
