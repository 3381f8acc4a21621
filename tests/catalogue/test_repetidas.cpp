// The songs on more than one CD and the CSV export, against a model of a
// generated catalogue; the file is read back with a real CSV reader.
#include <QMap>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include "catalogue/exportacion.h"
#include "catalogue/nombres.h"
#include "catalogue/repetidas.h"
#include "store/catalogo.h"
#include "store/pliegue.h"
#include "support/motorprueba.h"
#include "support/testsupport.h"

namespace {

struct Fila {
    qint64 id;
    QStringList campos;  // as the CSV should hold them
    QString clave;       // folded author and title
    qint64 idcd, segundos;
};

// Reads a CSV with Python's csv module; each record's fields joined by
// U+001F, records by U+001E.
QList<QStringList> LeeCsv(const QString& fichero)
{
    QProcess p;
    p.start("python3", {"-c", "import csv,sys\n"
                              "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                              "    sys.stdout.buffer.write('\\x1e'.join('\\x1f'.join(r) for r in csv.reader(f, strict=True)).encode())\n",
                        fichero});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        qFatal("python3 csv: %s", p.readAllStandardError().constData());
    QList<QStringList> r;
    for (const QString& linea : QString::fromUtf8(p.readAllStandardOutput()).split(QChar(0x1e)))
        r << linea.split(QChar(0x1f));
    return r;
}

QString Tiempo(qint64 s) { return s > 0 ? QString::asprintf("%02lld:%02lld", s / 60, s % 60) : QString(); }

}  // namespace

class TestRepetidas : public QObject {
    Q_OBJECT
private slots:
    void repetidasYExportacion();
};

void TestRepetidas::repetidasYExportacion()
{
    QTemporaryDir dir;
    Catalogo bd(CatalogoDePrueba(dir.path()), "repetidas");
    bd.AbreBaseDatos();
    // Titles that differ only in case are one song; the same title by
    // another author is another. Names carry commas, quotes, line breaks, Ñ.
    const QStringList autores = {"Coro Añil", "CORO AÑIL", "Banda \"del\" Ñandú", "Trío, Tres"};
    const QStringList titulos = {"La Ñapa", "LA ÑAPA", "Dijo \"sí\", luego", "Dos\nlíneas", "Única"};
    const QStringList cds = {"Cede Uno", "Cede, Dos", "Cede \"Tres\"", "Cede\r\nCuatro"};
    QList<Fila> modelo;
    QMap<QString, QString> escritos;  // an author is kept as first written
    Transaccion t(bd, "llenar");
    int n = 0;
    for (int c = 0; c < cds.size(); ++c)
        for (int i = 0; i < 14; ++i, ++n) {
            // Not every song on every CD: some stand on one only.
            if ((n * 7) % 5 == 0 && c > 0)
                continue;
            QString autor = autores[(n * 3 + c) % autores.size()], disco = "Álbum " + QString::number(i % 3),
                    titulo = titulos[(n + c) % titulos.size()] + (i >= 10 ? " " + cds[c] : QString()),
                    ruta = "Carpeta\\" + titulo + ",.mp3";
            const qint64 idcd = DameCd(bd, cds[c], "12AB-34C" + QString::number(c), true);
            const qint64 idautor = DameAutor(bd, autor, true);
            autor = escritos.value(Pliega(autor), autor);
            escritos.insert(Pliega(autor), autor);
            const qint64 iddisco = DameDisco(bd, disco, idautor, true);
            const qint64 segundos = (n % 4 == 0) ? 0 : 200 + (n % 3) * 2;  // 200, 202, 204 or unknown
            const qint64 id = DameCancion(bd, titulo, idautor, iddisco, idcd, i + 1, ruta, false, true, segundos);
            modelo << Fila{id,
                           {cds[c], "12AB-34C" + QString::number(c), autor, disco, titulo, QString::number(i + 1),
                            Tiempo(segundos), ruta},
                           Pliega(autor) + '\n' + Pliega(titulo), idcd, segundos};
        }
    t.Confirma();

    // The model's repeated songs: key -> places.
    QMap<QString, QList<Fila>> grupos;
    for (const Fila& f : modelo)
        grupos[f.clave] << f;
    QMap<QString, QPair<QSet<qint64>, bool>> esperadas;
    for (auto it = grupos.begin(); it != grupos.end(); ++it) {
        QSet<qint64> ids, cdsDe;
        qint64 menor = 1 << 30, mayor = 0;
        for (const Fila& f : *it) {
            ids << f.id;
            cdsDe << f.idcd;
            if (f.segundos > 0) {
                menor = std::min(menor, f.segundos);
                mayor = std::max(mayor, f.segundos);
            }
        }
        if (cdsDe.size() > 1)
            esperadas.insert(it.key(), {ids, mayor > 0 && mayor - menor > 2});
    }
    const std::vector<CancionRepetida> repetidas = CancionesRepetidas(bd);
    QMap<QString, QPair<QSet<qint64>, bool>> vistas;
    std::vector<qint64> idsRepetidas;
    for (const CancionRepetida& r : repetidas) {
        QSet<qint64> ids;
        for (const SitioRepetida& s : r.sitios) {
            ids << s.idcancion;
            idsRepetidas.push_back(s.idcancion);
        }
        vistas.insert(Pliega(r.autor) + '\n' + Pliega(r.cancion), {ids, r.tiemposDistintos});
    }
    QVERIFY(esperadas.size() >= 5);
    QCOMPARE(vistas.keys(), esperadas.keys());
    QCOMPARE(vistas, esperadas);

    // Every song, then the repeated ones in the order shown: each field as
    // the model has it.
    const QList<Fila*> todas = [&] {
        QList<Fila*> r;
        for (Fila& f : modelo)
            r << &f;
        return r;
    }();
    QMap<qint64, QStringList> porId;
    for (const Fila& f : modelo)
        porId.insert(f.id, f.campos);
    const QString csv = dir.filePath("catálogo, todo.csv");
    QCOMPARE(ExportaCanciones(bd, csv), qint64(modelo.size()));
    QList<QStringList> leidas = LeeCsv(csv);
    QCOMPARE(leidas.takeFirst(), kCabeceraCsv);
    QCOMPARE(leidas.size(), modelo.size());
    QMultiMap<QString, QStringList> esperadoTodo, leidoTodo;
    for (const Fila* f : todas)
        esperadoTodo.insert(f->campos.join('|'), f->campos);
    for (const QStringList& l : leidas)
        leidoTodo.insert(l.join('|'), l);
    QCOMPARE(leidoTodo, esperadoTodo);

    const QString parte = dir.filePath("repetidas.csv");
    QCOMPARE(ExportaCanciones(bd, parte, idsRepetidas), qint64(idsRepetidas.size()));
    leidas = LeeCsv(parte);
    leidas.removeFirst();
    QCOMPARE(leidas.size(), int(idsRepetidas.size()));
    for (int i = 0; i < leidas.size(); ++i)
        QCOMPARE(leidas[i], porId.value(idsRepetidas[size_t(i)]));
    // The file is CR LF between records and UTF-8.
    QVERIFY(LeeFichero(parte).startsWith(QStringLiteral("CD,Serie,Autor,Disco,Canción,Posición,Duración,Ruta\r\n").toUtf8()));
}

QTEST_GUILESS_MAIN(TestRepetidas)
#include "test_repetidas.moc"
