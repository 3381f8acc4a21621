// Times the catalogue browser on a large catalogue: 10,000 authors and
// 200,000 songs. Builds the tree by each ordering and expands an author of
// 500 songs, a disc and a CD, through the main window as the user would.
#include <QApplication>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cstdio>

#include "catalogogrande.h"
#include "catalogue/navegador.h"
#include "catalogue/navegador_ui.h"
#include "main_window/frmVaro.h"
#include "medida.h"
#include "sinperifericos.h"
#include "store/catalogo.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    Catalogo bd(dir.filePath("anterior.mdb"), "bench");
    bd.AbreBaseDatos();
    std::printf("llenando %d autores y %d canciones...\n", CatalogoGrande::kAutores, CatalogoGrande::kCanciones);
    std::printf("  %.2f s\n", Mide([&] { LlenaCatalogoGrande(bd); }));

    SinUnidades unidades;
    SinAvisos avisos;
    frmVaro w(bd, unidades, avisos, dir.path());
    w.Form_Load();

    const char* nombres[] = {"", "autores", "discos", "CD's"};
    for (int orden = 1; orden <= 3; ++orden) {
        for (int vez = 1; vez <= 2; ++vez) {
            const double s = Mide([&] { w.findChild<AreaSuperior*>()->ArbolBD(orden); });
            std::printf("arbol por %-8s (%d nodos, vez %d): %.3f s\n", nombres[orden],
                        w.findChild<QTreeWidget*>(QStringLiteral("tvBD"))->topLevelItem(0)->childCount(), vez, s);
        }
        const double solo = Mide([&] { ArbolBD(bd, orden); });
        std::printf("  solo la lectura del catalogo: %.3f s\n", solo);
    }

    w.findChild<AreaSuperior*>()->ArbolBD(1);
    QTreeWidgetItem* grande = NodoDeClave(w.findChild<QTreeWidget*>(QStringLiteral("tvBD")), "BDau#2");
    const double s = Mide([&] { w.findChild<AreaSuperior*>()->NodeClick(grande); });
    std::printf("expandir un autor de %d canciones (%d discos): %.3f s\n", w.findChild<QTreeWidget*>(QStringLiteral("lstVBD"))->topLevelItemCount(),
                grande->childCount(), s);

    w.findChild<AreaSuperior*>()->ArbolBD(3);
    QTreeWidgetItem* cd = NodoDeClave(w.findChild<QTreeWidget*>(QStringLiteral("tvBD")), "BDcd#1");
    const double scd = Mide([&] { w.findChild<AreaSuperior*>()->NodeClick(cd); });
    std::printf("expandir un CD de %d canciones (%d autores): %.3f s\n", w.findChild<QTreeWidget*>(QStringLiteral("lstVBD"))->topLevelItemCount(),
                cd->childCount(), scd);

    w.findChild<AreaSuperior*>()->ArbolBD(2);
    QTreeWidgetItem* disco = NodoDeClave(w.findChild<QTreeWidget*>(QStringLiteral("tvBD")), "BDdi#1");
    const double sdi = Mide([&] { w.findChild<AreaSuperior*>()->NodeClick(disco); });
    std::printf("expandir un disco de %d canciones: %.3f s\n", w.findChild<QTreeWidget*>(QStringLiteral("lstVBD"))->topLevelItemCount(), sdi);
    return 0;
}
