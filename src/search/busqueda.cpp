#include "search/busqueda.h"

#include <algorithm>

#include "catalogue/edicion.h"
#include "search/esquema_busqueda.h"
#include "store/catalogo.h"

namespace {

// The columns of a found song, named as the browser names them.
const QString kColumnas = QStringLiteral(
    "c.idcancion as idcancion, c.wncancion as wncancion, c.swvarios as swvarios, c.cdautor as cdautor,"
    " a.dsautor as dsautor, c.cddisco as cddisco, d.dsdisco as dsdisco, c.dscancion as dscancion, k.dscd as dscd,"
    " c.wntime as wntime");
const QString kUniones = QStringLiteral(
    " left join tlautor a on a.idautor = c.cdautor left join tldisco d on d.iddisco = c.cddisco"
    " left join tlcd k on k.idcd = c.cdcd");

CancionEncontrada encontrada(const Consulta& r)
{
    return {FilaDeCancion(r), r.Entero(QStringLiteral("cddisco")), r.Entero(QStringLiteral("wntime"))};
}

// The text a song is searched in. The fields are kept apart by a line break,
// which no typed word holds, so no word is found across two of them.
QString textoCancion(const QString& autor, const QString& disco, const QString& cancion, const QString& cd)
{
    return PliegaBusqueda(autor + QLatin1Char('\n') + disco + QLatin1Char('\n') + cancion + QLatin1Char('\n') + cd);
}

bool tieneTodas(const QString& texto, const QStringList& palabras)
{
    return std::all_of(palabras.begin(), palabras.end(), [&](const QString& p) { return texto.contains(p); });
}

void ordena(std::vector<CancionEncontrada>& filas, int columna)
{
    std::stable_sort(filas.begin(), filas.end(), [columna](const CancionEncontrada& a, const CancionEncontrada& b) {
        return FilaAntes(a.fila, b.fila, columna);
    });
}

// The first songs found, in the index's order, then sorted as the list
// sorts: sorting every match of a common word to show a thousand of them
// would cost more than the search. The total is counted only when the page
// is full.
ResultadoBusqueda porIndice(Catalogo& bd, const QStringList& palabras, int columna, int limite)
{
    QVariantList valores;
    const QString desde = esquema_busqueda::CancionesConPalabras(palabras, valores);
    Consulta r = bd.Abre(QStringLiteral("select ") + kColumnas + QStringLiteral(" from ") + desde +
                             QStringLiteral(" join tlcancion c on c.idcancion = b.idcancion") + kUniones +
                             QStringLiteral(" limit ?"),
                         valores + QVariantList{limite});
    ResultadoBusqueda res;
    res.filas.reserve(size_t(r.RecordCount()));
    for (; !r.Fin(); r.Siguiente())
        res.filas.push_back(encontrada(r));
    res.total = qint64(res.filas.size());
    if (res.total > 0 && res.total >= limite) {
        // Where the page ends among the songs tells how common the words
        // are: when more than a quarter of the songs hold them, reading every
        // text to count them costs less than going through the index.
        const qint64 ultima = IdCancion(res.filas.back().fila.clave);
        QVariantList cuenta;
        const QString todas = esquema_busqueda::CancionesConPalabras(palabras, cuenta, res.total * 4 > ultima);
        res.total = bd.PrimerEntero(QStringLiteral("select count(*) from ") + todas, cuenta);
    }
    ordena(res.filas, columna);
    return res;
}

// Without the index (a file that cannot be written and never had it, or one
// another program wrote since): every song is looked at.
ResultadoBusqueda mirandoTodas(Catalogo& bd, const QStringList& palabras, int columna, int limite)
{
    ResultadoBusqueda res;
    Consulta r = bd.Abre(QStringLiteral("select ") + kColumnas + QStringLiteral(" from tlcancion c") + kUniones +
                         QStringLiteral(" order by c.idcancion"));
    for (; !r.Fin(); r.Siguiente()) {
        if (!tieneTodas(textoCancion(r.Texto(QStringLiteral("dsautor")), r.Texto(QStringLiteral("dsdisco")),
                                     r.Texto(QStringLiteral("dscancion")), r.Texto(QStringLiteral("dscd"))),
                        palabras))
            continue;
        if (++res.total <= limite)
            res.filas.push_back(encontrada(r));
    }
    ordena(res.filas, columna);
    return res;
}

QString conPuntos(qint64 n)
{
    QString t = QString::number(n < 0 ? -n : n);
    for (qsizetype i = t.size() - 3; i > 0; i -= 3)
        t.insert(i, QLatin1Char('.'));
    return n < 0 ? QLatin1Char('-') + t : t;
}

}  // namespace

QString PliegaBusqueda(const QString& texto)
{
    const QString descompuesto = texto.normalized(QString::NormalizationForm_KD);
    QString t;
    t.reserve(descompuesto.size());
    for (const QChar c : descompuesto)
        if (c.category() != QChar::Mark_NonSpacing)
            t += c;
    return t.toCaseFolded();
}

QStringList PalabrasBusqueda(const QString& texto)
{
    return PliegaBusqueda(texto).simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

ResultadoBusqueda BuscaCanciones(Catalogo& bd, const QString& texto, int columnaOrden, int limite)
{
    const QStringList palabras = PalabrasBusqueda(texto);
    ResultadoBusqueda res;
    if (!palabras.isEmpty()) {
        LecturaCatalogo lectura(bd);
        const bool indice = esquema_busqueda::HayIndice(bd) && !esquema_busqueda::HayPendientes(bd);
        res = indice ? porIndice(bd, palabras, columnaOrden, limite) : mirandoTodas(bd, palabras, columnaOrden, limite);
    }
    res.texto = texto;
    return res;
}

QString TextoCuenta(qint64 mostradas, qint64 total)
{
    if (mostradas < total)
        return QStringLiteral("%1 de %2 canciones").arg(conPuntos(mostradas), conPuntos(total));
    return total == 1 ? QStringLiteral("1 canción") : QStringLiteral("%1 canciones").arg(conPuntos(total));
}

QString LineaBusqueda(const CancionEncontrada& c)
{
    const QLatin1Char cero('0');
    const QString tiempo =
        c.segundos > 0 ? QStringLiteral("%1:%2").arg(c.segundos / 60, 2, 10, cero).arg(c.segundos % 60, 2, 10, cero)
                       : QString();
    QStringList campos{c.fila.autor, c.fila.disco, c.fila.cancion, c.fila.posicion, tiempo, c.fila.cd};
    for (QString& f : campos)
        for (QChar& ch : f)
            if (ch == QLatin1Char('\t') || ch == QLatin1Char('\n') || ch == QLatin1Char('\r'))
                ch = QLatin1Char(' ');
    return campos.join(QLatin1Char('\t')) + QLatin1Char('\n');
}

namespace indice_busqueda {

void PonAlDia(Catalogo& bd)
{
    if (!esquema_busqueda::HayPendientes(bd))
        return;
    // The texts are folded into a staging table in batches (so a large
    // catalogue is never held in memory at once), then go to the index in
    // one statement: the index takes many rows in one statement far faster
    // than one per statement.
    esquema_busqueda::PreparaTextosNuevos(bd);
    const QString select = QStringLiteral(
        "select p.idcancion as idcancion, c.dscancion as dscancion, a.dsautor as dsautor, d.dsdisco as dsdisco,"
        " k.dscd as dscd from tlbusca_pendiente p join tlcancion c on c.idcancion = p.idcancion") +
        kUniones + QStringLiteral(" where p.idcancion > ? order by p.idcancion limit 5000");
    const QString guarda = esquema_busqueda::GuardaTextoNuevo();
    qint64 ultima = std::numeric_limits<qint64>::min();
    for (;;) {
        Consulta r = bd.Abre(select, {ultima});
        if (r.Fin())
            break;
        for (; !r.Fin(); r.Siguiente()) {
            ultima = r.Entero(QStringLiteral("idcancion"));
            bd.Ejecuta(guarda, {ultima, textoCancion(r.Texto(QStringLiteral("dsautor")), r.Texto(QStringLiteral("dsdisco")),
                                                     r.Texto(QStringLiteral("dscancion")), r.Texto(QStringLiteral("dscd")))});
        }
    }
    esquema_busqueda::PasaTextosNuevos(bd);
    bd.Ejecuta(QStringLiteral("delete from tlbusca_pendiente"));
}

void Prepara(Catalogo& bd)
{
    const bool hay = esquema_busqueda::HayIndice(bd);
    if (hay && !esquema_busqueda::HayPendientes(bd))
        return;
    Operacion(bd, hay ? QStringLiteral("poner al día el índice de búsqueda") : QStringLiteral("crear el índice de búsqueda"),
              [&](Transaccion&) {
                  if (!hay)
                      esquema_busqueda::CreaIndice(bd);
                  PonAlDia(bd);
              });
}

}  // namespace indice_busqueda
