#include "catalogue/nombres.h"

#include <QDate>

#include "store/catalogo.h"

namespace {

const QString kQuitar = QStringLiteral("-.@#$!%&/'()=?¡¿*+][^`¨´},._<> ");
const QString kAcentos = QStringLiteral("ÁÀÄÂÉÈÊÊÍÌÏÎÓÒÖÔÚÙÜÛ");
const QString kLlanas = QStringLiteral("AAAAEEEEIIIIOOOOUUUU");

// The text as it is stored: without its leading blanks, quotes as written
// (values are bound, so nothing is doubled).
QString comoSeGuarda(const QString& texto)
{
    qsizetype i = 0;
    while (i < texto.size() && texto[i] == QLatin1Char(' '))
        ++i;
    return texto.mid(i);
}

qint64 primerId(Catalogo& bd, const QString& select, const QVariantList& valores)
{
    return bd.PrimerEntero(select, valores);
}

const QStringList kColumnasCancion = {
    QStringLiteral("dscancion"), QStringLiteral("cdcd"),   QStringLiteral("cddisco"),
    QStringLiteral("cdautor"),   QStringLiteral("wncancion"), QStringLiteral("dspath"),
    QStringLiteral("swvarios"),  QStringLiteral("wntime"), QStringLiteral("dscancion_clave")};

const QStringList kClaveCancion = {QStringLiteral("dscancion_clave"), QStringLiteral("cddisco"),
                                   QStringLiteral("cdautor"), QStringLiteral("cdcd")};

const QString kSelectAutor = QStringLiteral("select idautor as id from tlautor where dsautor_std = ?");

}  // namespace

QString Estandariza(QString& nombre)
{
    QString guardado;
    QString citado;
    guardado.reserve(nombre.size());
    citado.reserve(nombre.size() + 2);
    bool visto = false;
    for (const QChar c : nombre) {
        if (!kQuitar.contains(c, Qt::CaseInsensitive))
            guardado += c;
        if (c != QLatin1Char(' '))
            visto = true;
        if (visto) {
            if (c == QLatin1Char('\''))
                citado += QStringLiteral("''");
            else
                citado += c;
        }
    }
    guardado = guardado.toUpper();
    for (QChar& c : guardado) {
        const int i = kAcentos.indexOf(c);
        if (i >= 0)
            c = kLlanas[i];
    }
    nombre = citado;
    return guardado;
}

qint64 AutorCatalogado(Catalogo& bd, const QString& nombre)
{
    QString n = nombre;
    return primerId(bd, kSelectAutor, {Estandariza(n)});
}

qint64 DameAutor(Catalogo& bd, QString& nombre, bool crear)
{
    const QString tal = comoSeGuarda(nombre);
    const QString std = Estandariza(nombre);
    if (const qint64 id = primerId(bd, kSelectAutor, {std}))
        return id;
    if (!crear)
        return bd.autoresNuevos().BuscaAutorNuevo(std);
    return Operacion(bd, QStringLiteral("añadir el autor %1").arg(tal), [&](Transaccion&) {
        return bd.Inserta(QStringLiteral("tlautor"), QStringLiteral("idautor"),
                          {QStringLiteral("dsautor"), QStringLiteral("dsautor_std"), QStringLiteral("intautor")},
                          {tal, std, 0});
    });
}

qint64 DameDisco(Catalogo& bd, QString& nombre, qint64 idautor, bool crear)
{
    if (!crear && nombre == QLatin1String("<vacio>"))
        return -1;
    const QString tal = comoSeGuarda(nombre);
    const QString std = Estandariza(nombre);
    if (const qint64 id = primerId(bd, QStringLiteral("select iddisco as id from tldisco where dsdisco_std = ? and cdautord = ?"),
                                   {std, idautor}))
        return id;
    if (!crear)
        return 0;
    return Operacion(bd, QStringLiteral("añadir el disco %1").arg(tal), [&](Transaccion&) {
        return bd.Inserta(QStringLiteral("tldisco"), QStringLiteral("iddisco"),
                          {QStringLiteral("dsdisco"), QStringLiteral("dsdisco_std"), QStringLiteral("cdautord")},
                          {tal, std, idautor});
    });
}

namespace {

std::vector<qint64> soloIds(const std::vector<std::pair<qint64, bool>>& ids)
{
    std::vector<qint64> v;
    v.reserve(ids.size());
    for (const auto& [id, nueva] : ids)
        v.push_back(id);
    return v;
}

}  // namespace

std::vector<qint64> DameAutores(Catalogo& bd, const QStringList& nombres)
{
    std::vector<QVariantList> filas;
    for (QString n : nombres) {
        const QString tal = comoSeGuarda(n);
        filas.push_back({tal, Estandariza(n), 0});
    }
    return Operacion(bd, QStringLiteral("añadir los autores"), [&](Transaccion&) {
        return soloIds(bd.motor().BuscaOInsertaVarias(
            bd, QStringLiteral("tlautor"), QStringLiteral("idautor"), {QStringLiteral("dsautor_std")},
            {QStringLiteral("dsautor"), QStringLiteral("dsautor_std"), QStringLiteral("intautor")}, filas));
    });
}

std::vector<qint64> DameDiscos(Catalogo& bd, const std::vector<std::pair<QString, qint64>>& discos)
{
    std::vector<QVariantList> filas;
    for (auto [n, idautor] : discos) {
        const QString tal = comoSeGuarda(n);
        filas.push_back({tal, Estandariza(n), idautor});
    }
    return Operacion(bd, QStringLiteral("añadir los discos"), [&](Transaccion&) {
        return soloIds(bd.motor().BuscaOInsertaVarias(
            bd, QStringLiteral("tldisco"), QStringLiteral("iddisco"),
            {QStringLiteral("dsdisco_std"), QStringLiteral("cdautord")},
            {QStringLiteral("dsdisco"), QStringLiteral("dsdisco_std"), QStringLiteral("cdautord")}, filas));
    });
}

qint64 DameCd(Catalogo& bd, QString descripcion, QString serial, bool crear)
{
    if (const qint64 id = primerId(bd, QStringLiteral("select idcd as id from tlcd where dscd_clave = ?"),
                                   {Pliega(descripcion)}))
        return id;
    if (!crear)
        return 0;
    // The date of the person's own day, as the program shows dates.
    const QString hoy = QDate::currentDate().toString(Qt::ISODate);
    return Operacion(bd, QStringLiteral("añadir el CD %1").arg(descripcion), [&](Transaccion&) {
        return bd.Inserta(QStringLiteral("tlcd"), QStringLiteral("idcd"),
                          {QStringLiteral("dscd"), QStringLiteral("sercd"), QStringLiteral("lotienecd"),
                           QStringLiteral("dtcd"), QStringLiteral("dscd_clave")},
                          {descripcion, serial, QStringLiteral(" "), hoy, Pliega(descripcion)});
    });
}

void CancionesNuevas::Anade(QString titulo, qint64 idautor, qint64 iddisco, qint64 idcd, qint64 posicion,
                            const QString& ruta, bool varios, qint64 segundos)
{
    const QString tal = comoSeGuarda(titulo);
    Estandariza(titulo);
    if (titulo.isEmpty())
        return;
    const QString clave = Pliega(tal);
    filas.push_back({tal, idcd, iddisco, idautor, posicion, comoSeGuarda(ruta), varios, segundos, clave});
}

void CancionesNuevas::Graba(Catalogo& bd)
{
    if (filas.empty())
        return;
    Operacion(bd, QStringLiteral("añadir las canciones"), [&](Transaccion&) {
        bd.motor().InsertaQueFalten(bd, QStringLiteral("tlcancion"), QStringLiteral("idcancion"), kClaveCancion,
                                    kColumnasCancion, filas);
    });
}

qint64 DameCancion(Catalogo& bd, QString& titulo, qint64 idautor, qint64 iddisco, qint64 idcd,
                   qint64 posicion, QString& ruta, bool varios, bool crear, qint64 segundos)
{
    const QString tal = comoSeGuarda(titulo);
    const QString rutaTal = comoSeGuarda(ruta);
    Estandariza(titulo);
    Estandariza(ruta);
    const QString clave = Pliega(tal);
    if (crear && !titulo.isEmpty())
        return Operacion(bd, QStringLiteral("añadir la canción %1").arg(tal), [&](Transaccion&) {
            return bd.motor().BuscaOInserta(
                bd, QStringLiteral("tlcancion"), QStringLiteral("idcancion"), kClaveCancion, {clave, iddisco, idautor, idcd},
                kColumnasCancion, {tal, idcd, iddisco, idautor, posicion, rutaTal, varios, segundos, clave});
        });
    if (crear)
        return primerId(bd, QStringLiteral("select idcancion as id from tlcancion where dscancion_clave = ?"
                                           " and cddisco = ? and cdautor = ? and cdcd = ?"),
                        {clave, iddisco, idautor, idcd});
    // Looked up without its CD when not recording.
    return primerId(bd, QStringLiteral("select idcancion as id from tlcancion where dscancion_clave = ?"
                                       " and cddisco = ? and cdautor = ?"),
                    {clave, iddisco, idautor});
}
