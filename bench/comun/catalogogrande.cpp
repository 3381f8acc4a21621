#include "catalogogrande.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTreeWidget>
#include <cstdio>
#include <cstdlib>

#include "catalogue/navegador_ui.h"
#include "catalogue/objetos.h"
#include "store/catalogo.h"

namespace {

void Ejecuta(QSqlQuery& q, const QString& sql)
{
    if (!q.exec(sql)) {
        std::fprintf(stderr, "failed: %s\n", qPrintable(sql));
        std::exit(1);
    }
}

}  // namespace

void LlenaCatalogoGrande(Catalogo& bd, int discosPorFoto, const QString& dirPrograma)
{
    constexpr int kAutores = CatalogoGrande::kAutores;
    constexpr int kDiscosPorAutor = 2;
    constexpr int kDiscosAutorGrande = 25;
    QSqlDatabase db = bd.db();
    db.transaction();
    QSqlQuery q(db);
    Ejecuta(q, "insert into tlautor (dsautor, dsautor_std, intautor) values ('<Varios Artistas>', 'VARIOSARTISTAS', 0)");
    q.prepare("insert into tlautor (dsautor, dsautor_std, intautor) values (?, ?, 0)");
    for (int a = 1; a <= kAutores; ++a) {
        const QString nombre = QStringLiteral("Autor %1").arg(a, 5, 10, QLatin1Char('0'));
        q.addBindValue(nombre);
        q.addBindValue(nombre.toUpper().remove(' '));
        q.exec();
    }
    q.prepare("insert into tldisco (dsdisco, dsdisco_std, cdautord) values (?, ?, ?)");
    // Author ids run 2..kAutores+1; the first author has 25 discs.
    for (int a = 2; a <= kAutores + 1; ++a) {
        const int n = a == 2 ? kDiscosAutorGrande : kDiscosPorAutor;
        for (int d = 1; d <= n; ++d) {
            const QString nombre = QStringLiteral("Disco %1-%2").arg(a).arg(d);
            q.addBindValue(nombre);
            q.addBindValue(nombre.toUpper().remove(' '));
            q.addBindValue(a);
            q.exec();
        }
    }
    // The folded keys filled as the program fills them, so the catalogue can
    // also be copied to a server, where they are unique.
    q.prepare("insert into tlcd (dscd, sercd, lotienecd, dtcd, dscd_clave) values (?, '1234-5678', ' ', DATE(), ?)");
    for (int c = 1; c <= CatalogoGrande::kCds; ++c) {
        const QString cd = QStringLiteral("CD %1").arg(c, 4, 10, QLatin1Char('0'));
        q.addBindValue(cd);
        q.addBindValue(cd.toCaseFolded());
        q.exec();
    }
    q.prepare("insert into tlcancion (dscancion, cdcd, cddisco, cdautor, wncancion, dspath, swvarios, wntime,"
              " dscancion_clave) values (?, ?, ?, ?, ?, ?, 0, ?, ?)");
    auto cancion = [&](int n, int cd, int disco, int autor, int pos) {
        q.addBindValue(QStringLiteral("Cancion %1").arg(n));
        q.addBindValue(cd);
        q.addBindValue(disco);
        q.addBindValue(autor);
        q.addBindValue(pos);
        q.addBindValue(QStringLiteral("Autor\\Disco\\%1.mp3").arg(n));
        q.addBindValue(120 + n % 300);
        q.addBindValue(QStringLiteral("cancion %1").arg(n));
        q.exec();
    };
    int n = 0;
    // The first author: 500 songs on 25 discs spread over 5 CDs.
    for (; n < CatalogoGrande::kCancionesAutorGrande; ++n)
        cancion(n, 1 + (n / 20) % 5, 1 + n / 20, 2, 1 + n % 20);
    // The rest round the other authors, two discs each, 500 songs per CD.
    const int resto = CatalogoGrande::kCanciones - CatalogoGrande::kCancionesAutorGrande;
    for (int i = 0; i < resto; ++i, ++n) {
        const int autor = 3 + i % (kAutores - 1);
        const int discoBase = kDiscosAutorGrande + (autor - 3) * kDiscosPorAutor;
        cancion(n, 1 + i / 500, discoBase + 1 + (i / (kAutores - 1)) % kDiscosPorAutor, autor, 1 + i / (kAutores - 1));
    }
    Ejecuta(q, QStringLiteral("insert into tlobjetos (dstabla, idtabla, dspath) select 'd', iddisco, 'x\\tapa.jpg'"
                              " from tldisco where iddisco % %1 = 0")
                   .arg(discosPorFoto));
    db.commit();

    if (dirPrograma.isEmpty())
        return;
    const QString carpeta = CarpetaImagenes(dirPrograma);
    QDir().mkpath(carpeta);
    QImage img(150, 150, QImage::Format_RGB32);
    img.fill(Qt::darkCyan);
    QByteArray jpg;
    QBuffer b(&jpg);
    b.open(QIODevice::WriteOnly);
    img.save(&b, "JPG");
    for (Consulta r = bd.Abre(QStringLiteral("select idobjeto from tlobjetos")); !r.Fin(); r.Siguiente()) {
        QFile f(QDir(carpeta).filePath(QString::number(r.Entero(QStringLiteral("idobjeto"))) + ".jpg"));
        if (f.open(QIODevice::WriteOnly))
            f.write(jpg);
    }
}

QTreeWidgetItem* NodoDeClave(QTreeWidget* arbol, const QString& clave)
{
    QTreeWidgetItem* raiz = arbol->topLevelItem(0);
    for (int i = 0; raiz && i < raiz->childCount(); ++i)
        if (ClaveNodo(raiz->child(i)) == clave)
            return raiz->child(i);
    return nullptr;
}
