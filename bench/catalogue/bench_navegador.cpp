// Times the catalogue browser on a large catalogue: 10,000 authors and
// 200,000 songs. Builds the tree by each ordering and expands an author of
// 500 songs, a disc and a CD, through the main window as the user would.
#include <QApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cstdio>
#include <functional>

#include "catalogue/catalogo.h"
#include "catalogue/navegador.h"
#include "catalogue/navegador_ui.h"
#include "common/avisos.h"
#include "main_window/frmVaro.h"
#include "main_window/unidades.h"

namespace {

constexpr int kAutores = 10000;
constexpr int kCanciones = 200000;
constexpr int kCds = 400;
constexpr int kCancionesGrande = 500;  // the first author's songs
constexpr int kDiscosPorAutor = 2;

class SinUnidades : public Unidades {
public:
    QList<Volumen> Lista() override { return {}; }
    int Actual() override { return -1; }
};

class SinAvisos : public Avisos {
public:
    void Informa(const QString&, const QString&) override {}
};

void ejecuta(QSqlQuery& q, const QString& sql)
{
    if (!q.exec(sql)) {
        std::fprintf(stderr, "fallo: %s\n", qPrintable(sql));
        std::exit(1);
    }
}

// Fills the catalogue in one transaction; only the browsing is timed.
void llena(Catalogo& bd)
{
    QSqlDatabase db = bd.db();
    db.transaction();
    QSqlQuery q(db);
    ejecuta(q, "insert into tlautor (dsautor, dsautor_std, intautor) values ('<Varios Artistas>', 'VARIOSARTISTAS', 0)");
    q.prepare("insert into tlautor (dsautor, dsautor_std, intautor) values (?, ?, 0)");
    for (int a = 1; a <= kAutores; ++a) {
        const QString nombre = QStringLiteral("Autor %1").arg(a, 5, 10, QLatin1Char('0'));
        q.addBindValue(nombre);
        q.addBindValue(nombre.toUpper().remove(' '));
        q.exec();
    }
    q.prepare("insert into tldisco (dsdisco, dsdisco_std, cdautord) values (?, ?, ?)");
    // Author ids run 2..kAutores+1; the first author has 25 discs.
    int discoGrande = 0;
    for (int a = 2; a <= kAutores + 1; ++a) {
        const int n = a == 2 ? 25 : kDiscosPorAutor;
        for (int d = 1; d <= n; ++d) {
            const QString nombre = QStringLiteral("Disco %1-%2").arg(a).arg(d);
            q.addBindValue(nombre);
            q.addBindValue(nombre.toUpper().remove(' '));
            q.addBindValue(a);
            q.exec();
        }
        if (a == 2)
            discoGrande = 25;
    }
    q.prepare("insert into tlcd (dscd, sercd, lotienecd, dtcd) values (?, '1234-5678', ' ', DATE())");
    for (int c = 1; c <= kCds; ++c) {
        q.addBindValue(QStringLiteral("CD %1").arg(c, 4, 10, QLatin1Char('0')));
        q.exec();
    }
    q.prepare("insert into tlcancion (dscancion, cdcd, cddisco, cdautor, wncancion, dspath, swvarios, wntime)"
              " values (?, ?, ?, ?, ?, ?, 0, 200)");
    auto cancion = [&](int n, int cd, int disco, int autor, int pos) {
        q.addBindValue(QStringLiteral("Cancion %1").arg(n));
        q.addBindValue(cd);
        q.addBindValue(disco);
        q.addBindValue(autor);
        q.addBindValue(pos);
        q.addBindValue(QStringLiteral("Autor\\Disco\\%1.mp3").arg(n));
        q.exec();
    };
    int n = 0;
    // The first author: 500 songs on 25 discs spread over 5 CDs.
    for (; n < kCancionesGrande; ++n)
        cancion(n, 1 + (n / 20) % 5, 1 + n / 20, 2, 1 + n % 20);
    // The rest round the other authors, two discs each, 500 songs per CD.
    const int resto = kCanciones - kCancionesGrande;
    for (int i = 0; i < resto; ++i, ++n) {
        const int autor = 3 + i % (kAutores - 1);
        const int discoBase = discoGrande + (autor - 3) * kDiscosPorAutor;
        cancion(n, 1 + i / 500, discoBase + 1 + (i / (kAutores - 1)) % kDiscosPorAutor, autor, 1 + i / (kAutores - 1));
    }
    // One picture for every tenth disc.
    ejecuta(q, "insert into tlobjetos (dstabla, idtabla, dspath) select 'd', iddisco, 'x\\tapa.jpg' from tldisco"
               " where iddisco % 10 = 0");
    db.commit();
}

double mide(const std::function<void()>& f)
{
    QElapsedTimer t;
    t.start();
    f();
    return double(t.nsecsElapsed()) / 1e9;
}

QTreeWidgetItem* nodo(QTreeWidget* arbol, const QString& clave)
{
    QTreeWidgetItem* raiz = arbol->topLevelItem(0);
    for (int i = 0; raiz && i < raiz->childCount(); ++i)
        if (ClaveNodo(raiz->child(i)) == clave)
            return raiz->child(i);
    return nullptr;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    Catalogo bd(dir.filePath("anterior.mdb"), "bench");
    bd.AbreBaseDatos();
    std::printf("llenando %d autores y %d canciones...\n", kAutores, kCanciones);
    std::printf("  %.2f s\n", mide([&] { llena(bd); }));

    SinUnidades unidades;
    SinAvisos avisos;
    frmVaro w(bd, unidades, avisos, dir.path());
    w.Form_Load();

    const char* nombres[] = {"", "autores", "discos", "CD's"};
    for (int orden = 1; orden <= 3; ++orden) {
        for (int vez = 1; vez <= 2; ++vez) {
            const double s = mide([&] { w.ArbolBD(orden); });
            std::printf("arbol por %-8s (%d nodos, vez %d): %.3f s\n", nombres[orden],
                        w.tvBD->topLevelItem(0)->childCount(), vez, s);
        }
        const double solo = mide([&] { ArbolBD(bd, orden); });
        std::printf("  solo la lectura del catalogo: %.3f s\n", solo);
    }

    w.ArbolBD(1);
    QTreeWidgetItem* grande = nodo(w.tvBD, "BDau#2");
    const double s = mide([&] { w.tvBD_NodeClick(grande); });
    std::printf("expandir un autor de %d canciones (%d discos): %.3f s\n", w.lstVBD->topLevelItemCount(),
                grande->childCount(), s);

    w.ArbolBD(3);
    QTreeWidgetItem* cd = nodo(w.tvBD, "BDcd#1");
    const double scd = mide([&] { w.tvBD_NodeClick(cd); });
    std::printf("expandir un CD de %d canciones (%d autores): %.3f s\n", w.lstVBD->topLevelItemCount(),
                cd->childCount(), scd);

    w.ArbolBD(2);
    QTreeWidgetItem* disco = nodo(w.tvBD, "BDdi#1");
    const double sdi = mide([&] { w.tvBD_NodeClick(disco); });
    std::printf("expandir un disco de %d canciones: %.3f s\n", w.lstVBD->topLevelItemCount(), sdi);
    return 0;
}
