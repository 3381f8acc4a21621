// The menu bar and the Alt+letter of every button.
#include <QAbstractButton>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QSettings>
#include <QTabWidget>
#include <QUndoStack>

#include "store/catalogo.h"
#include "store/sesion.h"
#include "catalogue/pestanabd.h"
#include "common/avisos.h"
#include "main_window/frmVaro.h"
#include "main_window/textosayuda.h"

namespace {

QAction* Accion(QMenu* menu, const char* nombre, const QString& texto, const QKeySequence& tecla = {})
{
    QAction* a = menu->addAction(texto);
    a->setObjectName(QString::fromUtf8(nombre));
    a->setShortcut(tecla);
    return a;
}

const QString kUltimaCarpeta = QStringLiteral("frmVaro/ultimaCarpeta");

}  // namespace

QMenuBar* frmVaro::creaMenus()
{
    auto* barra = new QMenuBar(this);
    barra->setObjectName(QStringLiteral("menuLodrin"));
    QMenu* archivo = barra->addMenu(QStringLiteral("&Archivo"));
    connect(Accion(archivo, "mnuAnadirCarpeta", QStringLiteral("Añadir &carpeta…"), QKeySequence(Qt::CTRL | Qt::Key_O)),
            &QAction::triggered, this, &frmVaro::AnadirCarpeta);
    connect(Accion(archivo, "mnuAnadirFicheros", QStringLiteral("Añadir &ficheros…")), &QAction::triggered, this,
            &frmVaro::AnadirFicheros);
    connect(Accion(archivo, "mnuNueva", QStringLiteral("&Nueva lista")), &QAction::triggered, this, [this] {
        Protege(avisos_, QStringLiteral("vaciar la lista"), [this] { cmdNueva_Click(); });
    });
    archivo->addSeparator();
    connect(Accion(archivo, "mnuAbrirCatalogo", QStringLiteral("Abrir ca&tálogo…"),
                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O)),
            &QAction::triggered, this, &frmVaro::AbrirCatalogo);
    connect(Accion(archivo, "mnuAbrirServidor", QStringLiteral("Abrir catálogo de un ser&vidor…")),
            &QAction::triggered, this, &frmVaro::AbrirServidor);
    recientes_ = archivo->addMenu(QStringLiteral("Catálogos &recientes"));
    recientes_->setObjectName(QStringLiteral("mnuRecientes"));
    recientes_->setEnabled(false);
    connect(Accion(archivo, "mnuExportar", QStringLiteral("&Exportar catálogo…")), &QAction::triggered, this,
            &frmVaro::ExportarCatalogo);
    connect(Accion(archivo, "mnuExportarLista", QStringLiteral("Exportar la &lista de Base de datos…")),
            &QAction::triggered, this, &frmVaro::ExportarLista);
    archivo->addSeparator();
    connect(Accion(archivo, "mnuSalir", QStringLiteral("&Salir"), QKeySequence(Qt::CTRL | Qt::Key_Q)),
            &QAction::triggered, this, &QWidget::close);

    QMenu* editar = barra->addMenu(QStringLiteral("&Editar"));
    QAction* deshace = deshacer_->createUndoAction(this, QStringLiteral("Deshacer"));
    deshace->setObjectName(QStringLiteral("mnuDeshacer"));
    deshace->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* rehace = deshacer_->createRedoAction(this, QStringLiteral("Rehacer"));
    rehace->setObjectName(QStringLiteral("mnuRehacer"));
    rehace->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    editar->addAction(deshace);
    editar->addAction(rehace);
    editar->addSeparator();
    connect(Accion(editar, "mnuBuscar", QStringLiteral("&Buscar en el catálogo"), QKeySequence(Qt::CTRL | Qt::Key_F)),
            &QAction::triggered, this, &frmVaro::BuscarEnCatalogo);
    connect(Accion(editar, "mnuRepetidas", QStringLiteral("Canciones en &varios CD…"), QKeySequence(Qt::CTRL | Qt::Key_R)),
            &QAction::triggered, this, &frmVaro::VerRepetidas);

    QMenu* ayuda = barra->addMenu(QStringLiteral("A&yuda"));
    connect(Accion(ayuda, "mnuAcerca", QStringLiteral("&Acerca de Lodrin")), &QAction::triggered, this,
            &frmVaro::AcercaDe);
    return barra;
}

// Alt+letter for every button, none repeated on a tab nor taken by a menu
// (A, E, Y); the texts stay those of the window.
void frmVaro::ponAtajos()
{
    const std::pair<const char*, const char*> atajos[] = {
        {"cmdNueva", "&Nueva"},           {"cmdBusca", "&Busca"},
        {"cmdAnaliza", "Ana&liza"},       {"cmdCompara", "&Compara"},
        {"cmdGenera", "&Genera"},         {"cmdVerAuto", "&Ver Autorun"},
        {"cmdExplorar", "E&xplorar"},     {"cmdGraba", "&Graba"},
        {"chkGrabImg", "Grabar &imagenes"}, {"cmdAñadir", "Aña&dir"},
        {"cmbLimpia", "&Limpia BD"},      {"cmdLstAutor", "&Generar listado"},
        {"chkCanciones", "Poner &canciones"}, {"chkImagenes", "Poner &Imagenes"},
        {"cmdWriteTag", "&Poner Tag's"},  {"cmdDeleteTag", "&Borrar tag's"},
        {"cmdauto", "A&utorun"}};
    for (auto [nombre, texto] : atajos)
        if (auto* b = findChild<QAbstractButton*>(QString::fromUtf8(nombre)))
            b->setText(QString::fromUtf8(texto));
}

void frmVaro::AnadirCarpeta()
{
    QSettings ajustes(kAjustes, kAjustes);
    const QString carpeta = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Añadir carpeta"), ajustes.value(kUltimaCarpeta, QDir::homePath()).toString(),
        QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (carpeta.isEmpty())
        return;
    ajustes.setValue(kUltimaCarpeta, carpeta);
    Protege(avisos_, QStringLiteral("añadir la carpeta"), [&] { lstVBusca_OLEDragDrop({carpeta}); });
}

void frmVaro::AnadirFicheros()
{
    QSettings ajustes(kAjustes, kAjustes);
    const QStringList ficheros = QFileDialog::getOpenFileNames(
        this, QStringLiteral("Añadir ficheros"), ajustes.value(kUltimaCarpeta, QDir::homePath()).toString(),
        QStringLiteral("MP3, imágenes, textos y listas (*.mp3 *.gif *.jpg *.jpeg *.doc *.txt *.m3u);;Todos (*)"),
        nullptr, QFileDialog::DontUseNativeDialog);
    if (ficheros.isEmpty())
        return;
    ajustes.setValue(kUltimaCarpeta, QFileInfo(ficheros.first()).absolutePath());
    Protege(avisos_, QStringLiteral("añadir los ficheros"), [&] { lstVBusca_OLEDragDrop(ficheros); });
}

void frmVaro::BuscarEnCatalogo()
{
    SSTab2_->setCurrentWidget(baseDatos_);
    auto* caja = baseDatos_->findChild<QLineEdit*>(QStringLiteral("txtBuscaBD"));
    caja->setFocus(Qt::ShortcutFocusReason);
    caja->selectAll();
}

void frmVaro::AcercaDe()
{
    const UbicacionCatalogo& u = sesion_->ubicacion();
    avisos_.Informa(QStringLiteral("%1\n\nCatálogo en uso: %2\nQt %3")
                        .arg(TextoAcercaDe(), u.motor == Motor::SQLite ? u.fichero : u.Nombre(),
                             QString::fromLatin1(qVersion())),
                    QStringLiteral("Acerca de Lodrin"));
}
